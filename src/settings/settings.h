#pragma once
// The main panel's settings: a few preferences kept in an INI file beside the executable
// (see settings_path.h), and the panel values that every start of the program resets.
//
// Section "setup" holds the panel's four persistent choices, written back on Exit.
// Section "tweak" holds behaviour switches that no control shows; they are only read,
// so a user sets them by editing the file, and they act from the next start on.
//
// Threadsafety: only the user-interface thread loads and saves the settings.

#include <cstdint>
#include <string>

struct Settings {
  // "setup": shown by the panel, written back.
  bool logTesting = true;         // "errlog": a test log file is written during a run
  bool alarmOnError = true;       // "signal": a beep for every newly found error
  bool highMemory = false;        // "topmem": second buffers at the top of the address space
  std::uint32_t methodIndex = 0;  // "method": 0 random, 1 shuffling

  // "tweak": read only.
  bool flashOnError = false;       // "blinks": flash the panel with every alarm
  bool useThemes = true;           // "themes": themed dialog background
  bool allowCompact = false;       // "compact": "Compact memory..." in the system menu
  bool confirmActions = true;      // "confirm": ask before quitting a run; priority warning
  bool allowThreadChoice = false;  // "threads": the work threads list is enabled
  std::uint32_t cycleDelayMs = 0;  // "timeout": each worker's pause after a cycle

  // Not kept in the file: every start of the program begins with these.
  std::uint32_t memTotalMb = 0;
  std::uint32_t memAvailableMb = 0;
  std::uint32_t memToTestMb = 0;
  std::uint32_t errorsLimit = 0;
  std::uint32_t hoursLimit = 0;
  std::uint32_t priorityIndex = 0;  // "normal"
  std::uint32_t threadsIndex = 0;   // "one"
  bool minimizeOnStart = false;
  bool hideWhenMinimized = false;
  bool running = false;
  bool modalOpen = false;
};

// Resets `settings` to the start values, measures the physical memory (the available
// amount is also the amount to test), and reads the file beside the executable. Missing
// files, sections and keys keep the defaults; nothing is reported.
void LoadSettings(Settings& settings);

// Writes the "setup" keys ("method", "signal", "topmem", "errlog") from `settings`
// into the file beside the executable, creating it as needed; every other line stays.
// A failing write is ignored.
void SaveSettings(const Settings& settings);

// The same with the file at `path`. An empty path stands for an unknown location:
// loading gives the start values only, saving writes nothing.
void LoadSettings(Settings& settings, const std::string& path);
void SaveSettings(const Settings& settings, const std::string& path);
