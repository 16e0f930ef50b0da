#include "diag/serial.h"

namespace {

constexpr int kSpins = 400'000;

std::uint32_t g_serial = 0;

// The asm statement is volatile: every execution happens, none is merged or hoisted.
std::uint32_t HighestLeaf() {
  unsigned a, b, c, d;
  __asm__ __volatile__("cpuid" : "=a"(a), "=b"(b), "=c"(c), "=d"(d) : "0"(0u));
  return a;
}

}  // namespace

std::uint32_t NextSerial() {
  return ++g_serial;
}

std::uint32_t SpinSerialize() {
  std::uint32_t leaf = 0;
  for (int i = 0; i < kSpins; ++i) leaf = HighestLeaf();
  return leaf;
}

std::uint32_t SpinSerializeCount(std::atomic<std::uint32_t>& counter) {
  std::uint32_t leaf = 0;
  for (int i = 0; i < kSpins; ++i) {
    counter.fetch_add(1);
    leaf = HighestLeaf();
  }
  return leaf;
}
