#pragma once
// The diagnostics library's millisecond clock: the performance counter when the system
// has one (at least 1000 counts per second), else the system tick count. It counts from
// the counter's own origin, so only differences between two readings mean anything.
// The first call chooses the source; call it first on the user-interface thread.

#include <cstdint>

std::int64_t GetMilliseconds();
