#pragma once
// The console companion's command line: its options, their defaults and their checks.

#include <cstdint>
#include <string>
#include <vector>

struct CliOptions {
  std::uint32_t memoryMb = 0;       // 16 .. available; the available memory when not given
  std::uint32_t methodIndex = 0;    // 0 random, 1 shuffling, 2 sweeping
  std::uint32_t threads = 1;        // 1 .. logical processors
  std::uint32_t priorityIndex = 0;  // 0 normal, 1 above, 2 high
  bool highMemory = false;
  std::uint32_t delayMs = 0;
  std::uint32_t errorsLimit = 0;       // 0 is none
  std::uint64_t timeLimitSeconds = 0;  // 0 is none
  std::uint64_t cycles = 0;            // 0 is none
  std::string logPath;                 // empty is no log
  std::string jsonPath;                // empty is none; "-" is standard output
  bool quiet = false;
  bool help = false;
  bool version = false;
};

// What the machine allows the options to ask for.
struct CliLimits {
  std::uint32_t availableMb;
  std::uint32_t processors;
};

// Parses `args` (without the program's name) into `options`. False, with a message that
// names the option at fault in `error`, on an unknown option, a missing value or a value
// out of range. --help and --version are taken as they come; nothing else is checked
// once one of them is given.
bool ParseCliOptions(const std::vector<std::string>& args, const CliLimits& limits,
                     CliOptions& options, std::string& error);

// The text of --help.
std::string CliUsage();

// The method and priority words, by index.
const char* MethodName(std::uint32_t methodIndex);
const char* PriorityName(std::uint32_t priorityIndex);
