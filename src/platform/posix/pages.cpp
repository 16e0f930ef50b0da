#include "platform/pages.h"

#include <sys/mman.h>

#include <cerrno>

namespace platform {

namespace {

// The Windows error codes that the rest of the program knows failures by.
constexpr std::uint32_t kErrorNotEnoughMemory = 8;
constexpr std::uint32_t kErrorInvalidParameter = 87;

}  // namespace

// Linux lays anonymous mappings out top-down, from just below the stack towards lower
// addresses, so every new mapping already takes the highest free addresses: that is
// what a top-down request asks for, and the plain mapping gives it.
HRESULT AllocatePages(std::uint64_t bytes, bool, void*& pages) {
  pages = nullptr;
  void* mapped = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) {
    return HResultFromWin32(errno == ENOMEM ? kErrorNotEnoughMemory : kErrorInvalidParameter);
  }
  pages = mapped;
  return S_OK;
}

void FreePages(void* pages, std::uint64_t bytes) {
  munmap(pages, bytes);
}

}  // namespace platform
