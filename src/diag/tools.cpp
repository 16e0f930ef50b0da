#include "diag/tools.h"

#include <atomic>
#include <cstdint>

#include "diag/clock.h"
#include "diag/exception.h"
#include "platform/fault_translator.h"
#include "platform/thread.h"
#include "platform/visual_styles.h"

namespace {

// The thread on which InitTools ran first; 0 until then.
std::atomic<std::uint32_t> g_mainThreadId{0};
bool g_themingAvailable = false;

}  // namespace

void InitTools() {
  platform::SetFaultTranslator(&QV::TranslateFault);
  const std::uint32_t self = platform::CurrentThreadId();
  std::uint32_t main = 0;
  if (!g_mainThreadId.compare_exchange_strong(main, self) && main != self) return;
  if (platform::VisualStylesAvailable()) g_themingAvailable = true;
  static_cast<void>(GetMilliseconds());
}

void UninitTools() {
  if (platform::CurrentThreadId() == g_mainThreadId.load()) platform::SetFaultTranslator(nullptr);
}

bool IsThemingAvailable() {
  return g_themingAvailable;
}
