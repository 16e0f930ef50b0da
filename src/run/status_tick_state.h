#pragma once
// The status tick's own state, one copy per process, on the user-interface thread only.

#include <cstdint>

// When the next status tick may run, on the panel's monotonic millisecond clock; shared
// by the running and the idle tick.
extern std::uint64_t g_nextTickDue;
// Advanced once per running tick while the panel is shown: its low two bits pick the
// caption's spinner, its low bit gates the tray refresh.
extern std::uint8_t g_statusPhase;
// Flipped on every tray refresh of a run: true shows the busy icon.
extern bool g_trayBlink;
