#include "run/status_tick_state.h"

std::uint64_t g_nextTickDue = 0;
std::uint8_t g_statusPhase = 0;
bool g_trayBlink = false;
