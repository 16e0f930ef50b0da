#include "engine/mem_test_sweep.h"

#include <algorithm>

#include "engine/block_compare.h"
#include "platform/clock.h"

namespace {

constexpr std::uint64_t kWordsPerLine = platform::kCacheLineBytes / sizeof(std::uint64_t);

// Writes the next n values of `source`, OR `mask`, to a[k] and then b[k]. Out of line:
// inside the block's other work the compiler keeps the product in memory, not registers.
[[gnu::noinline]] void WriteValues(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                                   std::uint64_t mask, Wyrand& source) {
  // A copy, which the stores to the buffers cannot alias: it stays in a register.
  Wyrand drawing = source;
  for (std::uint64_t k = 0; k < n; ++k) {
    const std::uint64_t value = drawing.Next() | mask;
    a[k] = value;
    b[k] = value;
  }
  source = drawing;
}

}  // namespace

HRESULT CMemTestSweep::Prepare() {
  if (m_memorySize / 16 == 0) return E_INVALIDARG;
  m_source.state = platform::ReadTimeStampCounter();
  m_position = 0;
  g_cycleIterations.store(CycleIterationsFor(m_memorySize), std::memory_order_relaxed);
  return S_OK;
}

HRESULT CMemTestSweep::RunCycle() {
  // Locals, so that they stay in registers across the possible mismatch calls.
  std::uint64_t* const a = m_bufferA;
  std::uint64_t* const b = m_bufferB;
  const std::uint64_t words = m_wordsA;
  std::uint64_t position = m_position;
  Wyrand source = m_source;
  std::uint64_t done = 0;
  for (;;) {
    const std::uint64_t iterations = g_cycleIterations.load(std::memory_order_relaxed);
    if (done >= iterations) break;
    const std::uint64_t n =
        std::min({kBlockWords - position % kBlockWords, iterations - done, words - position});
    SweepBlock(a, b, position, n, source);
    done += n;
    position += n;
    if (position == words) position = 0;
  }
  if (done != 0) g_cycleCount.fetch_add(1, std::memory_order_relaxed);
  m_position = position;
  m_source = source;
  return S_OK;
}

void CMemTestSweep::SweepBlock(std::uint64_t* a, std::uint64_t* b, std::uint64_t first,
                               std::uint64_t n, Wyrand& source) {
  std::uint64_t* const blockA = a + first;
  std::uint64_t* const blockB = b + first;
  ForgetMemory();
  if (BlockDifferences(blockA, blockB, n) != 0) [[unlikely]] {
    for (std::uint64_t i = first; i < first + n; ++i) {
      CheckAndRewrite(a, b, i, [&source] { return source.Next(); });
    }
    return;
  }
  if (first + 2 * kBlockWords <= m_wordsA) {
    for (std::uint64_t k = 0; k < kBlockWords; k += kWordsPerLine) {
      __builtin_prefetch(blockA + kBlockWords + k, 1);
      __builtin_prefetch(blockB + kBlockWords + k, 1);
    }
  }
  WriteValues(blockA, blockB, n, g_failMask.load(std::memory_order_relaxed), source);
  ForgetMemory();
  if (BlockDifferences(blockA, blockB, n) != 0) [[unlikely]] {
    volatile std::uint64_t* const checkA = a;
    volatile std::uint64_t* const checkB = b;
    for (std::uint64_t i = first; i < first + n; ++i) {
      if (checkA[i] != checkB[i]) RecordMismatch(i);
    }
  }
}
