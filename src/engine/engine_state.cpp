#include "engine/engine_state.h"

std::atomic<std::uint32_t> g_cycleIterations{0};
std::atomic<std::uint32_t> g_cycleDelayMs{0};
std::atomic<std::int32_t> g_cycleCount{0};
std::atomic<std::uint64_t> g_failMask{0};
std::atomic<std::uint64_t> g_lostErrorRecords{0};
std::mutex g_errorLock;
