#include "settings/settings.h"

#include <string>

#include "diag/physical_memory.h"
#include "platform/paths.h"
#include "platform/profile.h"
#include "settings/settings_path.h"

namespace {

// The profile reader parses a sign and hands back 32 bits, so "-1" comes back as
// 0xFFFFFFFF on some systems and as 0 on others: whatever is negative as a signed
// number reads 0 everywhere.
std::uint32_t ReadNumber(const std::string& path, const char* section, const char* key,
                         std::uint32_t fallback) {
  const std::uint32_t value = platform::ReadProfileInt(path, section, key, fallback);
  return static_cast<std::int32_t>(value) < 0 ? 0 : value;
}

bool ReadFlag(const std::string& path, const char* section, const char* key, bool fallback) {
  return ReadNumber(path, section, key, fallback ? 1 : 0) != 0;
}

// Numbers are written as signed decimal text, booleans as "0" or "1".
void WriteNumber(const std::string& path, const char* key, std::int32_t value) {
  platform::WriteProfileText(path, "setup", key, std::to_string(value).c_str());
}

}  // namespace

void LoadSettings(Settings& settings) {
  std::string path;
  GetSettingsPath(path);
  LoadSettings(settings, path);
}

void SaveSettings(const Settings& settings) {
  std::string path;
  GetSettingsPath(path);
  SaveSettings(settings, path);
}

void LoadSettings(Settings& settings, const std::string& path) {
  settings = Settings{};
  settings.memAvailableMb = GetPhysicalMemoryMb(&settings.memTotalMb);
  settings.memToTestMb = settings.memAvailableMb;
  if (path.empty() || !platform::FileExists(path)) return;

  // Each read falls back to the default just set, so a missing key keeps it.
  Settings& s = settings;
  s.logTesting = ReadFlag(path, "setup", "errlog", s.logTesting);
  s.alarmOnError = ReadFlag(path, "setup", "signal", s.alarmOnError);
  s.highMemory = ReadFlag(path, "setup", "topmem", s.highMemory);
  s.flashOnError = ReadFlag(path, "tweak", "blinks", s.flashOnError);
  s.useThemes = ReadFlag(path, "tweak", "themes", s.useThemes);
  s.allowCompact = ReadFlag(path, "tweak", "compact", s.allowCompact);
  s.confirmActions = ReadFlag(path, "tweak", "confirm", s.confirmActions);
  s.allowThreadChoice = ReadFlag(path, "tweak", "threads", s.allowThreadChoice);
  // Used as read: a worker's pause ends early when the run is stopped.
  s.cycleDelayMs = ReadNumber(path, "tweak", "timeout", s.cycleDelayMs);
  s.methodIndex = ReadNumber(path, "setup", "method", s.methodIndex);
  if (s.methodIndex > 2) s.methodIndex = 2;
}

void SaveSettings(const Settings& settings, const std::string& path) {
  if (path.empty()) return;
  WriteNumber(path, "method", static_cast<std::int32_t>(settings.methodIndex));
  WriteNumber(path, "signal", settings.alarmOnError);
  WriteNumber(path, "topmem", settings.highMemory);
  WriteNumber(path, "errlog", settings.logTesting);
}
