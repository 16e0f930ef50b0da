#pragma once
// Committed, readable and writable pages straight from the operating system, not from
// the heap: the test buffers must be real pages of their own.

#include <cstdint>

#include "platform/hresult.h"

namespace platform {

// Obtains `bytes` of committed pages. With `topDown` the pages are asked for at the
// highest free addresses of the process. On failure returns the system error as an
// HRESULT (0x8007xxxx) and leaves `pages` null; zero bytes fail as an invalid parameter.
HRESULT AllocatePages(std::uint64_t bytes, bool topDown, void*& pages);

// Returns pages obtained by AllocatePages with the same byte count.
void FreePages(void* pages, std::uint64_t bytes);

}  // namespace platform
