#pragma once
// What the console companion reports of a finished run: its summary and its JSON object.

#include <cstdint>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "engine/mem_test.h"
#include "platform/local_time.h"

struct RunReport {
  std::uint32_t availableMb = 0;
  platform::LocalTime start{};
  platform::LocalTime finish{};
  std::uint32_t workersAsked = 0;
  std::uint32_t workersStarted = 0;  // and testing: those that got their memory
  std::uint32_t errorsFound = 0;
  std::int32_t cycles = 0;
  double checkedPercent = 0;
  std::string stopReason;
  std::uint64_t failMask = 0;
  std::uint64_t lostRecords = 0;
  // The first kMaxRecords records, in the order found.
  std::vector<MemTestError> records;
};

inline constexpr std::size_t kMaxRecords = 1000;

// The summary printed at the end, as the panel's closing balloon words it.
std::string SummaryText(const RunReport& report);

// One JSON object of the program's version, the run's parameters and its result.
std::string ReportJson(const std::string& version, const CliOptions& options,
                       const RunReport& report);
