#include "platform/console_stop.h"

#include <signal.h>

#include <atomic>

namespace platform {

namespace {

std::atomic<bool> g_stopRequested{false};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

void OnStopSignal(int) {
  g_stopRequested.store(true, std::memory_order_relaxed);
}

}  // namespace

void InstallConsoleStopHandler() {
  struct sigaction action {};
  action.sa_handler = &OnStopSignal;
  sigemptyset(&action.sa_mask);
  for (int signal : {SIGINT, SIGTERM, SIGHUP}) sigaction(signal, &action, nullptr);
}

bool ConsoleStopRequested() {
  return g_stopRequested.load(std::memory_order_relaxed);
}

void ConsoleStopFinished() {}

}  // namespace platform
