#include "engine/mem_test_sweep.h"

#include <algorithm>

#include "engine/block_compare.h"
#include "platform/clock.h"

namespace {

using BlockOutcome = CMemTestSweep::BlockOutcome;

constexpr std::uint64_t kBlockWords = CMemTestSweep::kBlockWords;
constexpr std::uint64_t kWordsPerLine = platform::kCacheLineBytes / sizeof(std::uint64_t);
// How far ahead a block prefetches, in words: four blocks was measured fastest.
constexpr std::uint64_t kPrefetchWords = 4 * kBlockWords;

[[gnu::always_inline]] inline BlockOutcome RewriteMatchingBlock(std::uint64_t* a, std::uint64_t* b,
                                                                std::uint64_t n, bool prefetch,
                                                                SweepValues& values) {
  ForgetMemory();
  if (BlockDifferences(a, b, n) != 0) return BlockOutcome::DifferedBefore;
  if (prefetch) {
    for (std::uint64_t k = 0; k < kBlockWords; k += kWordsPerLine) {
      __builtin_prefetch(a + kPrefetchWords + k, 1);
      __builtin_prefetch(b + kPrefetchWords + k, 1);
    }
  }
  values.Write(a, b, n, g_failMask.load(std::memory_order_relaxed));
  ForgetMemory();
  return BlockDifferences(a, b, n) != 0 ? BlockOutcome::DifferedAfter : BlockOutcome::Matched;
}

// The same code twice, for any x86-64 processor and for those with 256-bit vectors.
BlockOutcome RewriteBlockBaseline(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                                  bool prefetch, SweepValues& values) {
  return RewriteMatchingBlock(a, b, n, prefetch, values);
}

[[gnu::target("avx2")]] BlockOutcome RewriteBlockAvx2(std::uint64_t* a, std::uint64_t* b,
                                                      std::uint64_t n, bool prefetch,
                                                      SweepValues& values) {
  return RewriteMatchingBlock(a, b, n, prefetch, values);
}

}  // namespace

HRESULT CMemTestSweep::Prepare() {
  if (m_memorySize / 16 == 0) return E_INVALIDARG;
  m_values.Seed(platform::ReadTimeStampCounter());
  m_position = 0;
  m_rewriteBlock = HasWideVectors() ? &RewriteBlockAvx2 : &RewriteBlockBaseline;
  g_cycleIterations.store(CycleIterationsFor(m_memorySize), std::memory_order_relaxed);
  return S_OK;
}

HRESULT CMemTestSweep::RunCycle() {
  // Locals, so that they stay in registers across the possible mismatch calls.
  std::uint64_t* const a = m_bufferA;
  std::uint64_t* const b = m_bufferB;
  const std::uint64_t words = m_wordsA;
  const RewriteBlock rewriteBlock = m_rewriteBlock;
  std::uint64_t position = m_position;
  SweepValues values = m_values;
  std::uint64_t done = 0;
  for (;;) {
    const std::uint64_t iterations = g_cycleIterations.load(std::memory_order_relaxed);
    if (done >= iterations) break;
    const std::uint64_t n =
        std::min({kBlockWords - position % kBlockWords, iterations - done, words - position});
    const bool prefetch = position + kPrefetchWords + kBlockWords <= words;
    switch (rewriteBlock(a + position, b + position, n, prefetch, values)) {
      case BlockOutcome::Matched:
        break;
      case BlockOutcome::DifferedBefore:
        for (std::uint64_t i = position; i < position + n; ++i) {
          CheckAndRewrite(a, b, i, [&values] { return values.Next(); });
        }
        break;
      case BlockOutcome::DifferedAfter: {
        volatile std::uint64_t* const checkA = a;
        volatile std::uint64_t* const checkB = b;
        for (std::uint64_t i = position; i < position + n; ++i) {
          if (checkA[i] != checkB[i]) RecordMismatch(i);
        }
        break;
      }
    }
    done += n;
    position += n;
    if (position == words) position = 0;
  }
  if (done != 0) g_cycleCount.fetch_add(1, std::memory_order_relaxed);
  m_position = position;
  m_values = values;
  return S_OK;
}
