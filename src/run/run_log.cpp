#include "run/run_log.h"

#include "diag/append_log.h"
#include "diag/format.h"
#include "platform/paths.h"
#include "run/run_strings.h"

namespace {

using namespace run_strings;

// "HH:MM:SS", the only clock reading an entry carries.
std::string ClockTime(const platform::LocalTime& time) {
  return Format("%02u:%02u:%02u", time.hour, time.minute, time.second);
}

}  // namespace

std::string LogFileName(const std::string& folder, const platform::LocalTime& time,
                        const char* extension) {
  const std::string name = Format("TOVA_%4u%02u%02u_%02u%02u%02u.%s", time.year, time.month,
                                  time.day, time.hour, time.minute, time.second, extension);
  if (folder.empty()) return name;
  return folder.back() == platform::kPathSeparator ? folder + name
                                                   : folder + platform::kPathSeparator + name;
}

std::string MakeLogFileName(const char* extension) {
  std::string folder;
  if (platform::GetExecutablePath(folder)) {
    folder.erase(folder.find_last_of(platform::kPathSeparator) + 1);
  }
  return LogFileName(folder, platform::ReadLocalTime(), extension);
}

void WriteStartEntry(const std::string& logPath, const platform::LocalTime& time,
                     const TestLogStart& start) {
  AppendLog(logPath.c_str(), TextId(kStartEntry), ClockTime(time).c_str(), start.memToTestMb,
            start.memAvailableMb, start.methodIndex, start.priorityText.c_str(), start.threadsAsked,
            start.errorsLimit, start.hoursLimit);
}

void WriteWarningEntry(const std::string& logPath, std::uint32_t started, std::uint32_t asked) {
  AppendLog(logPath.c_str(), TextId(kWarningEntry), started, asked);
}

void WriteErrorEntry(const std::string& logPath, std::int32_t errorNumber, std::int32_t cycles,
                     double checkedPercent, const MemTestError& error,
                     const platform::LocalTime& time) {
  AppendLog(logPath.c_str(), TextId(kErrorEntry), errorNumber, cycles, checkedPercent, error.first,
            error.second, error.first ^ error.second, ClockTime(time).c_str());
}

void WriteFinishEntry(const std::string& logPath, const platform::LocalTime& time,
                      std::uint32_t reasonString) {
  WriteFinishEntry(logPath, time, ResolveText(TextId(reasonString)));
}

void WriteFinishEntry(const std::string& logPath, const platform::LocalTime& time,
                      const std::string& reasonText) {
  AppendLog(logPath.c_str(), TextId(kFinishEntry), ClockTime(time).c_str(), reasonText.c_str());
}

std::string ViewLogCommandLine(const std::string& logPath) {
  return Format("notepad.exe \"%s\"", logPath.c_str());
}
