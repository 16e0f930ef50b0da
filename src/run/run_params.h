#pragma once
// The parameters of a test run, read from the panel when Start is pressed and kept
// until the next Start.

#include <cstdint>

struct TestParams {
  std::uint32_t memAvailableMb = 0;
  std::uint32_t memTotalMb = 0;
  std::uint32_t memToTestMb = 0;    // 16 .. memAvailableMb
  std::uint32_t errorsLimit = 0;    // 0 .. 100; 0 is no limit
  std::uint32_t hoursLimit = 0;     // 0 .. 100; 0 is no limit
  std::uint32_t methodIndex = 0;    // 0 random, 1 shuffling
  std::uint32_t threadsIndex = 0;   // 1 << threadsIndex work threads
  std::uint32_t priorityIndex = 0;  // normal, above, high
  bool logTesting = false;
  bool alarmOnError = false;
  bool highMemory = false;
  bool minimizeOnStart = false;
  bool hideWhenMinimized = false;
};
