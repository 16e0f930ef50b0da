#include <windows.h>

#include <atomic>

#include "platform/console_stop.h"

namespace platform {

namespace {

std::atomic<bool> g_stopRequested{false};
// Set by ConsoleStopFinished; a manual-reset event, never closed while the process lives.
HANDLE g_finished = nullptr;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI OnConsoleEvent(DWORD event) {
  g_stopRequested.store(true, std::memory_order_relaxed);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    // The process ends as soon as this returns; the system allows about five seconds.
    WaitForSingleObject(g_finished, 4500);
  }
  return TRUE;
}

}  // namespace

void InstallConsoleStopHandler() {
  g_finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(&OnConsoleEvent, TRUE);
}

bool ConsoleStopRequested() {
  return g_stopRequested.load(std::memory_order_relaxed);
}

void ConsoleStopFinished() {
  if (g_finished != nullptr) SetEvent(g_finished);
}

}  // namespace platform
