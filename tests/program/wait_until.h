#pragma once
// Bounded polling: the program under test runs in another process, so the tests watch
// for what a user would see, but never longer than a generous deadline, and never
// assert how long anything took.

#include <windows.h>

namespace program_driver {

inline constexpr DWORD kDeadlineMs = 60000;

// Polls `done` every 10 ms until it holds or `deadlineMs` have passed; returns whether it held.
template <class Predicate>
bool WaitUntil(Predicate done, DWORD deadlineMs = kDeadlineMs) {
  const ULONGLONG end = GetTickCount64() + deadlineMs;
  for (;;) {
    if (done()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(10);
  }
}

}  // namespace program_driver
