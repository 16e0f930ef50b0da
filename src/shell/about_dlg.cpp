#include "shell/about_dlg.h"

#include <string>

#include "diag/format.h"
#include "diag/text.h"
#include "platform/resource_text.h"
#include "resources/resource_ids.h"

namespace {

constexpr std::uint32_t kBuiltOn = 3001;  // "Built on %s"
constexpr std::uint32_t kWebPage = 3002;
constexpr int kIconSize = 48;

}  // namespace

CAboutDlg::~CAboutDlg() {
  if (m_icon) DestroyIcon(m_icon);
  if (m_boldFont) DeleteObject(m_boldFont);
}

bool CAboutDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_COMMAND:
      if (LOWORD(wParam) != IDOK && LOWORD(wParam) != IDCANCEL) return false;
      EndDialog(m_hWnd, LOWORD(wParam));
      return true;
    default:
      return false;
  }
}

bool CAboutDlg::OnInitDialog() {
  CenterWindow(GetParent(m_hWnd));
  ShowIcon();
  MakeTitleBold();
  SetBuildLine();
  m_link.SetHyperLink(ResolveText(TextId(kWebPage)));
  if (!m_link.m_hWnd) m_link.SubclassWindow(Item(IDC_LINK));
  return true;
}

void CAboutDlg::ShowIcon() {
  HWND control = Item(IDC_ABOUT_ICON);
  SetWindowPos(control, nullptr, 0, 0, kIconSize, kIconSize,
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  m_icon = static_cast<HICON>(
      LoadImageA(m_resources, MAKEINTRESOURCEA(IDI_NORMAL), IMAGE_ICON, kIconSize, kIconSize, 0));
  if (m_icon) SendMessageA(control, STM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(m_icon));
}

void CAboutDlg::MakeTitleBold() {
  HFONT font = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA description;
  if (GetObjectA(font, sizeof description, &description) != sizeof description) return;
  description.lfWeight = FW_BOLD;
  m_boldFont = CreateFontIndirectA(&description);
  if (m_boldFont) {
    SendMessageA(Item(IDC_ABOUT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(m_boldFont), FALSE);
  }
}

void CAboutDlg::SetBuildLine() {
  std::string builtOn;
  if (!platform::LoadResourceText(kBuiltOn, builtOn)) return;
  const std::string line = Format(builtOn.c_str(), __DATE__) + ", 64bit";
  SetDlgItemTextA(m_hWnd, IDC_BUILD_LINE, line.c_str());
}
