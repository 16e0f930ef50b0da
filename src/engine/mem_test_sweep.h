#pragma once
// The console companion's method "sweeping": it visits the words in address order, pass
// after pass, each cycle going on where the last one ended, and writes a fresh wyrand
// value, seeded from the time-stamp counter, to every word it visits. It is
// the fastest way through all of a share: a stuck bit shows within a pass or two, where
// the other methods, bound by the latency of their scattered accesses, need minutes to
// reach every word of a large share.
//
// A cycle works through blocks of kBlockWords words, which lie on multiples of
// kBlockWords and end early at the end of the buffers. A block is compared as a whole
// first; when it matches, the mask is read once, the values are written word by word to
// A and then B, and the block, still in the first-level cache, is compared again. A
// block with a mismatch goes word by word through the shared iteration instead, so that
// its records come out in address order. The count of iterations is read again before
// each block: a Release ends the cycle at the end of the block in hand.
//
// The next block is prefetched before the values are drawn: the processor's own stream
// prefetcher idles while no loads come, and the block's reads would then wait for memory
// after the drawing instead of during it.

#include "engine/mem_test_impl.h"
#include "random/wyrand.h"

class CMemTestSweep final : public IMemTestImpl {
 public:
  // Eight cache lines of each buffer. Smaller blocks keep the prefetches and the memory
  // they wait for spread evenly over the drawing; this size was measured fastest.
  static constexpr std::uint64_t kBlockWords = 64;

  HRESULT RunCycle() override;
  // Seeds the generator from the time-stamp counter and starts at word 0. E_INVALIDARG
  // for a share too small to hold a word.
  HRESULT Prepare() override;

  // Test seam, on the worker's thread: the next value is the first output of `seed`.
  void Seed(std::uint64_t seed) { m_source.state = seed; }

 private:
  // One block of n words from word `first` on, with the cycle's buffers and generator.
  void SweepBlock(std::uint64_t* a, std::uint64_t* b, std::uint64_t first, std::uint64_t n,
                  Wyrand& source);

  std::uint64_t m_position = 0;  // the next word to visit
  Wyrand m_source{0};
};
