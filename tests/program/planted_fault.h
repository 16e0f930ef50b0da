#pragma once
// A memory fault planted from outside, the way failing RAM shows itself: one bit of a
// running program's test buffer changes while its worker pauses between cycles.
//
// The run must have one worker, the shuffling method (each cycle visits every word of
// its buffers, so the next cycle is sure to find the change), "High memory" set (buffer
// B is the higher of the two regions) and a pause between cycles ("timeout" setting).
//
// Threadsafety: the test's own thread only.

#include <windows.h>

#include <cstdint>
#include <string>

namespace program_driver {

struct PlantedFault {
  std::uint64_t first = 0;   // the word of buffer A, as the program must report it
  std::uint64_t second = 0;  // the changed word of buffer B
};

// Finds the two buffers of a worker whose share is `shareBytes` in `process` and flips
// one bit of buffer B during a pause. False, with `why` set, when that did not succeed
// before the deadline.
bool PlantFault(HANDLE process, std::uint64_t shareBytes, PlantedFault& planted, std::string& why);

}  // namespace program_driver
