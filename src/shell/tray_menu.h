#pragma once
// The tray icon's popup menu, fitted to what the panel is doing each time it opens.
//
// Threadsafety: user-interface thread only.

#include <windows.h>

struct TrayMenuState {
  bool running = false;     // a run is in progress (or stopping)
  bool logWritten = false;  // the last run wrote a log
  bool modalOpen = false;   // the About box or the compaction dialog is open
};

// Start becomes Stop during a run, which grays Exit; after a logged run "View log" is
// offered before About; an open dialog grays About and Start/Stop. Not a menu: nothing.
void PrepareTrayMenu(HMENU popup, const TrayMenuState& state);
