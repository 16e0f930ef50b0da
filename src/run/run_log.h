#pragma once
// The test log: one plain-text file per logged run, beside the program, named for the
// moment the run started. Entries are appended one at a time through AppendLog, so the
// file is open only while an entry is written; every line ends in CR LF.
//
// All entries are written by the user-interface thread. Each takes the local time at
// which it is written; only its clock time appears in the file, the date is in the name.

#include <cstdint>
#include <string>

#include "engine/mem_test.h"
#include "platform/local_time.h"

// "TOVA_<yyyymmdd>_<hhmmss>.<extension>" for the time given, appended to `folder` (which
// may be empty: the bare name then resolves against the current folder).
std::string LogFileName(const std::string& folder, const platform::LocalTime& time,
                        const char* extension);

// The log file for a run starting now: in the executable's folder, or the bare name when
// the executable's path is unknown.
std::string MakeLogFileName(const char* extension);

// What the start entry records of a run.
struct TestLogStart {
  std::uint32_t memToTestMb;     // as entered
  std::uint32_t memAvailableMb;  // as shown at Start
  std::uint32_t methodIndex;     // 0 random, 1 shuffling
  std::string priorityText;      // "normal", "above" or "high"
  std::uint32_t threadsAsked;    // 1, 2 or 4
  std::uint32_t errorsLimit;
  std::uint32_t hoursLimit;
};

void WriteStartEntry(const std::string& logPath, const platform::LocalTime& time,
                     const TestLogStart& start);
// Only when fewer workers started than were asked for.
void WriteWarningEntry(const std::string& logPath, std::uint32_t started, std::uint32_t asked);
// errorNumber counts this error (1 for the first of the run); cycles is g_cycleCount now.
void WriteErrorEntry(const std::string& logPath, std::int32_t errorNumber, std::int32_t cycles,
                     double checkedPercent, const MemTestError& error,
                     const platform::LocalTime& time);
// reasonString is the string-table number of the stop reason's text.
void WriteFinishEntry(const std::string& logPath, const platform::LocalTime& time,
                      std::uint32_t reasonString);
// The same with the reason's text itself.
void WriteFinishEntry(const std::string& logPath, const platform::LocalTime& time,
                      const std::string& reasonText);

// The command that opens a log in the text editor: the editor's name and the quoted path.
std::string ViewLogCommandLine(const std::string& logPath);
