#include "shell/framework/hyperlink.h"

// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <utility>
#include <vector>

CHyperLink::CHyperLink(COLORREF linkColour, COLORREF visitedColour)
    : m_linkColour(linkColour), m_visitedColour(visitedColour) {}

CHyperLink::~CHyperLink() {
  if (m_hWnd != nullptr) Detach();
  if (m_font != nullptr) DeleteObject(m_font);
}

void CHyperLink::SetHyperLink(std::string target) {
  m_target = std::move(target);
}

bool CHyperLink::SubclassWindow(HWND control) {
  if (m_hWnd != nullptr || !IsWindow(control)) return false;

  // The label's own font, underlined; the control keeps its font, this one is only drawn with.
  auto font = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));
  if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  LOGFONTA description{};
  if (GetObjectA(font, sizeof description, &description) == sizeof description) {
    description.lfUnderline = TRUE;
    m_font = CreateFontIndirectA(&description);
  }
  // A shared system cursor: nothing to release.
  m_cursor = LoadCursorA(nullptr, IDC_HAND);

  m_hWnd = control;
  SetWindowLongPtrA(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  m_previousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WindowProc)));
  SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
  InvalidateRect(control, nullptr, TRUE);
  return true;
}

void CHyperLink::Detach() {
  SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_previousProc));
  SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
  InvalidateRect(m_hWnd, nullptr, TRUE);
  m_hWnd = nullptr;
}

LRESULT CALLBACK CHyperLink::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<CHyperLink*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (self == nullptr) return DefWindowProcA(window, message, wParam, lParam);
  return self->HandleMessage(message, wParam, lParam);
}

LRESULT CHyperLink::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETCURSOR:
      if (m_cursor != nullptr) {
        SetCursor(m_cursor);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
      SetCapture(m_hWnd);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == m_hWnd) {
        ReleaseCapture();
        RECT client;
        GetClientRect(m_hWnd, &client);
        const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
        if (PtInRect(&client, point)) Open();
      }
      return 0;
    case WM_NCDESTROY: {
      const WNDPROC previous = m_previousProc;
      const HWND window = m_hWnd;
      Detach();
      return CallWindowProcA(previous, window, message, wParam, lParam);
    }
    default:
      break;
  }
  return CallWindowProcA(m_previousProc, m_hWnd, message, wParam, lParam);
}

void CHyperLink::Paint() {
  PAINTSTRUCT paint;
  const HDC dc = BeginPaint(m_hWnd, &paint);
  if (dc == nullptr) return;
  RECT client;
  GetClientRect(m_hWnd, &client);

  // The background the dialog gives its statics (themed or plain), as the static draws it.
  auto brush = reinterpret_cast<HBRUSH>(SendMessageA(GetParent(m_hWnd), WM_CTLCOLORSTATIC,
                                                     reinterpret_cast<WPARAM>(dc),
                                                     reinterpret_cast<LPARAM>(m_hWnd)));
  if (brush == nullptr) brush = GetSysColorBrush(COLOR_BTNFACE);
  FillRect(dc, &client, brush);

  const int length = GetWindowTextLengthA(m_hWnd);
  std::vector<char> label(static_cast<std::size_t>(length) + 1);
  GetWindowTextA(m_hWnd, label.data(), length + 1);

  const auto style = static_cast<DWORD>(GetWindowLongPtrA(m_hWnd, GWL_STYLE));
  UINT format = DT_WORDBREAK;
  if ((style & SS_TYPEMASK) == SS_CENTER) format |= DT_CENTER;
  if ((style & SS_TYPEMASK) == SS_RIGHT) format |= DT_RIGHT;
  if (style & SS_NOPREFIX) format |= DT_NOPREFIX;

  const HGDIOBJ previousFont = m_font != nullptr ? SelectObject(dc, m_font) : nullptr;
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, m_visited ? m_visitedColour : m_linkColour);
  DrawTextA(dc, label.data(), -1, &client, format);
  if (previousFont != nullptr) SelectObject(dc, previousFont);
  EndPaint(m_hWnd, &paint);
}

void CHyperLink::Open() {
  if (m_target.empty()) return;
  ShellExecuteA(GetParent(m_hWnd), "open", m_target.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
  m_visited = true;
  InvalidateRect(m_hWnd, nullptr, TRUE);
}
