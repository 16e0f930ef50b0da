#pragma once
// The console companion's method "sweeping": it visits the words in address order, pass
// after pass, each cycle going on where the last one ended, and writes the next value of
// a stream of xoshiro256+ outputs, seeded from the time-stamp counter, to every word it
// visits. It is the fastest way through all of a share: a stuck bit shows within a pass
// or two, where the other methods, bound by the latency of their scattered accesses, take
// many seconds to reach every word of a large share.
//
// A cycle works through blocks of kBlockWords words, which lie on multiples of
// kBlockWords and end early at the end of the buffers. A block is compared as a whole
// first; when it matches, the mask is read once, the values are written to A and then B,
// and the block, still in the first-level cache, is compared again. A block that differs
// before it is written goes word by word through the shared iteration instead, so that
// its records come out in address order. The count of iterations is read again before
// each block: a Release ends the cycle at the end of the block in hand.
//
// A block prefetches the one four blocks on before the values are drawn: the processor's
// own stream prefetcher idles while no loads come, and the coming blocks' reads would then
// wait for memory after the drawing instead of during it. On processors with 256-bit vectors the
// block's work is compiled for them, chosen once when the worker prepares.

#include "engine/mem_test_impl.h"
#include "engine/sweep_values.h"

class CMemTestSweep final : public IMemTestImpl {
 public:
  // Eight cache lines of each buffer. Smaller blocks keep the prefetches and the memory
  // they wait for spread evenly over the drawing; this size was measured fastest.
  static constexpr std::uint64_t kBlockWords = 64;

  // What the fast path found of a block.
  enum class BlockOutcome { Matched, DifferedBefore, DifferedAfter };
  // The fast path over a block of n words at a and b: compared, written when it matched,
  // compared again. Nothing is written when it differed before. `prefetch` tells that the
  // buffers go on far enough for the block's prefetches.
  using RewriteBlock = BlockOutcome (*)(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                                        bool prefetch, SweepValues& values);

  HRESULT RunCycle() override;
  // Seeds the values from the time-stamp counter, starts at word 0, and picks the fast
  // path for the processor. E_INVALIDARG for a share too small to hold a word.
  HRESULT Prepare() override;

  // Test seam, on the worker's thread: the values go on as the stream of `seed`.
  void Seed(std::uint64_t seed) { m_values.Seed(seed); }

 private:
  std::uint64_t m_position = 0;  // the next word to visit
  SweepValues m_values{};
  RewriteBlock m_rewriteBlock = nullptr;
};
