#pragma once
// Test method 1, "shuffling": the buffers are split into equal blocks, put into a random
// order once, and swept word by word. A pass visits the word at the same offset in every
// block, in the shuffled order; the next pass moves one word further, wrapping after
// stride passes. Values come from a Mersenne Twister seeded from the time-stamp counter.
// Words beyond block count x stride belong to no block and are never visited.
//
// Its sweep is bound by the latency of the caches its blocks conflict in, and the
// processor already overlaps the next iterations: prefetching was measured to slow it.
// What helps is fewer instructions per word, so that more iterations fit in the
// processor's window: the source's values are drawn a whole round ahead, in vectors,
// and each iteration only reads the next one. Where the processor runs the conflicting
// lines faster with the stores held back, a PaceTuner finds how far.

#include "engine/mem_test_impl.h"
#include "engine/pace_tuner.h"
#include "random/mt19937.h"

class CMemTestShuffle final : public IMemTestImpl {
 public:
  // Creates the worker's Mersenne Twister; without one Prepare fails later.
  CMemTestShuffle();

  HRESULT RunCycle() override;
  HRESULT Prepare() override;

  // What Prepare does with the time-stamp counter as `seed`, for a share of memoryBytes:
  // seeds the source, shuffles the block table and starts the first pass. E_FAIL without
  // a source; E_INVALIDARG when the share is too small to give every block a word.
  HRESULT PrepareBlocks(std::uint64_t memoryBytes, std::uint64_t seed);
  // The word the next iteration visits.
  std::uint64_t NextIndex();
  // The start word of every block, in visiting order from the last entry down.
  const std::vector<std::uint64_t>& BlockTable() const { return m_generatorTable; }

 private:
  // A position in the sweep.
  struct Cursor {
    std::int32_t blocksLeft;  // still to visit in this pass; the next is entry blocksLeft-1
    std::uint64_t offset;     // word offset within each block of this pass

    std::uint64_t Next(const std::uint64_t* table, std::int32_t blocks, std::int32_t stride) {
      if (blocksLeft == 0) {
        blocksLeft = blocks;
        if (++offset == static_cast<std::uint64_t>(stride)) offset = 0;
      }
      --blocksLeft;
      return offset + table[blocksLeft];
    }
  };

  Cursor m_cursor{0, 0};
  std::int32_t m_stride = 0;  // words per block
  // The source m_random is, by its own type, so that it can draw a round at once.
  CMT19937* m_source = nullptr;
  // The source's draws, made a round ahead: values [m_valuesNext, m_valuesDrawn) are next.
  alignas(platform::kCacheLineBytes) std::uint64_t m_values[CMT19937::kStateWords];
  int m_valuesDrawn = 0;
  int m_valuesNext = 0;
  PaceTuner m_tuner;
};
