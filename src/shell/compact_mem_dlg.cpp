#include "shell/compact_mem_dlg.h"

#include <commctrl.h>

#include "diag/physical_memory.h"
#include "resources/resource_ids.h"

namespace {

constexpr UINT_PTR kRefreshTimer = 1111;
constexpr UINT kRefreshMs = 1000;
constexpr DWORD kStepPauseMs = 10;

}  // namespace

CCompactMemDlg::~CCompactMemDlg() {
  stopRequested.store(true, std::memory_order_relaxed);
  compactThread.Join();
  Release(heldBlock);
}

bool CCompactMemDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_TIMER:
      ShowAvailable();
      return true;
    case WM_COMMAND:
      // Only OK ends the dialog; Escape and Alt+F4 arrive as IDCANCEL and do nothing.
      if (LOWORD(wParam) != IDOK) return LOWORD(wParam) == IDCANCEL;
      KillTimer(m_hWnd, kRefreshTimer);
      EndDialog(m_hWnd, IDOK);
      return true;
    default:
      return false;
  }
}

bool CCompactMemDlg::OnInitDialog() {
  CenterWindow(GetParent(m_hWnd));
  SYSTEM_INFO system;
  GetSystemInfo(&system);
  pageSize = system.dwPageSize;

  std::uint32_t totalMb = 0;
  const std::uint32_t availableMb = GetPhysicalMemoryMb(&totalMb);
  SetDlgItemInt(m_hWnd, IDC_MEM_AVAILABLE, availableMb, FALSE);
  SetDlgItemInt(m_hWnd, IDC_MEM_TOTAL, totalMb, FALSE);
  // The full 32-bit range: a 16-bit bound would wrap on machines of more than 64 GB.
  progressBar = Item(IDC_PROGRESS);
  SendMessageA(progressBar, PBM_SETRANGE32, 0, totalMb);
  SendMessageA(progressBar, PBM_SETPOS, availableMb, 0);

  stopRequested.store(false, std::memory_order_relaxed);
  shownAvailableMb.store(availableMb, std::memory_order_relaxed);
  // A worker that cannot start leaves the starting figures; OK still ends the dialog.
  compactThread.Start(&CCompactMemDlg::CompactThreadProc, this);
  SetTimer(m_hWnd, kRefreshTimer, kRefreshMs, nullptr);
  return true;
}

void CCompactMemDlg::ShowAvailable() {
  const std::uint32_t availableMb = shownAvailableMb.load(std::memory_order_relaxed);
  SetDlgItemInt(m_hWnd, IDC_MEM_AVAILABLE, availableMb, FALSE);
  SendMessageA(progressBar, PBM_SETPOS, availableMb, 0);
}

void CCompactMemDlg::CompactThreadProc(void* dialog) {
  auto& self = *static_cast<CCompactMemDlg*>(dialog);
  while (!self.stopRequested.load(std::memory_order_relaxed)) {
    self.CompactStep();
    ::Sleep(kStepPauseMs);
  }
}

void CCompactMemDlg::CompactStep() {
  const std::uint32_t availableMb = GetPhysicalMemoryMb();
  const std::uint64_t bytes = std::uint64_t{availableMb} << 20;
  auto commit = [bytes] {
    Block block;
    block.address = VirtualAlloc(nullptr, bytes, MEM_COMMIT, PAGE_READWRITE);
    block.size = block.address ? bytes : 0;
    return block;
  };
  if (heldBlock.size == 0) {
    shownAvailableMb.store(availableMb, std::memory_order_relaxed);
    heldBlock = commit();
    TouchPages(heldBlock);
    return;
  }
  Block second = commit();
  TouchPages(second);
  Release(heldBlock);
  Release(second);
}

void CCompactMemDlg::TouchPages(const Block& block) {
  auto* bytes = static_cast<volatile char*>(block.address);
  for (std::uint64_t offset = 0;
       offset < block.size && !stopRequested.load(std::memory_order_relaxed); offset += pageSize) {
    bytes[offset] = 0;
  }
}

void CCompactMemDlg::Release(Block& block) {
  if (block.address) VirtualFree(block.address, 0, MEM_RELEASE);
  block = {};
}
