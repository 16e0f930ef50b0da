#include <windows.h>

#include "platform/pages.h"

namespace platform {

HRESULT AllocatePages(std::uint64_t bytes, bool topDown, void*& pages) {
  const DWORD type = MEM_COMMIT | (topDown ? MEM_TOP_DOWN : 0);
  pages = VirtualAlloc(nullptr, static_cast<SIZE_T>(bytes), type, PAGE_READWRITE);
  return pages ? S_OK : HResultFromWin32(GetLastError());
}

void FreePages(void* pages, std::uint64_t) {
  VirtualFree(pages, 0, MEM_RELEASE);
}

}  // namespace platform
