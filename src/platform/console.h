#pragma once
// What a console program needs to know of the machine and its console.
// Any thread; keeps no state.

#include <cstdint>

namespace platform {

// Whether the standard error stream is a terminal (a console window), not a file or pipe.
bool StandardErrorIsTerminal();

// The number of logical processors the process may run on; at least 1.
std::uint32_t LogicalProcessorCount();

// The process's scheduling priority: 0 normal, 1 above normal, 2 high. False when the
// system refuses it (raising the priority may need privileges).
bool SetProcessPriority(std::uint32_t level);

}  // namespace platform
