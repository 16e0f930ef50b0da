#pragma once
// Test method 0, "random": every iteration visits a word at a random index and writes a
// random value, both from a generator of the method's own, a subtractive lagged
// generator followed by a shuffle buffer, seeded from the calendar time.
//
// The generator lives in the worker's generator table, 90 entries: 1 to 53 are the lag
// ring, 53 to 88 the shuffle buffer of 36 slots; entry 0 is never read and entry 89
// only takes part in the warm-up. Workers prepared within the same second share a seed
// and so visit the same indexes in their own buffers.
//
// The generator's outputs do not depend on memory, so the cycle draws the indexes and
// values of kBatch iterations at a time, a batch ahead, and prefetches each word
// kPrefetch iterations before its visit: the visits are the algorithm's own, in its
// order, but their cache misses overlap, and the generator runs undisturbed by them.

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/mem_test_impl.h"
#include "engine/word_divisor.h"

class CMemTestRandom final : public IMemTestImpl {
 public:
  HRESULT RunCycle() override;
  HRESULT Prepare() override;

  // The generator's seed, made from the calendar time: at least 90 characters.
  static std::string MakeSeedText(std::uint32_t seconds);
  // Seeds and warms up the generator from characters 1 to 89 of `seedText`. The next
  // cycle starts from the generator's first output.
  void SeedGenerator(std::string_view seedText);
  // One 64-bit output of the generator.
  std::uint64_t Next();

 private:
  static constexpr int kTableEntries = 90;
  static constexpr std::int32_t kLagRing = 53;
  static constexpr std::uint64_t kShuffleSlots = 36;
  static constexpr std::uint32_t kBatch = 64;
  static constexpr std::uint32_t kRing = 2 * kBatch;
  static constexpr std::uint32_t kPrefetch = 32;  // at most kBatch

  // The generator's state, held in locals for a whole cycle. Each output picks the next
  // shuffle slot by its remainder modulo kShuffleSlots; every entry's remainder is kept
  // beside it, computed when the entry is written, so that choosing the slot costs a
  // load instead of a division in the chain from one output to the next.
  struct Generator {
    std::uint64_t* entry;
    std::uint8_t* residue;  // entry[e] % kShuffleSlots, for every entry e
    std::int32_t lagA;
    std::int32_t lagB;
    std::uint64_t lastOutput;
    std::uint32_t lastResidue;  // lastOutput % kShuffleSlots

    std::uint64_t Next() {
      const std::int32_t k = lagB--;
      const std::int32_t j = lagA--;
      const std::uint64_t x = entry[j] - entry[k];
      const auto xResidue = static_cast<std::uint8_t>(x % kShuffleSlots);
      entry[j] = x;
      residue[j] = xResidue;
      if (lagA == 0) lagA = kLagRing;
      if (lagB == 0) lagB = kLagRing;
      const std::uint32_t slot = kLagRing + lastResidue;
      lastOutput = entry[slot];
      lastResidue = residue[slot];
      entry[slot] = x;
      residue[slot] = xResidue;
      return lastOutput;
    }
  };
  Generator LoadGenerator();
  void StoreGenerator(const Generator& generator);

  std::int32_t m_lagA = 0;         // the entry that receives the next difference: 53 down to 1
  std::int32_t m_lagB = 0;         // the entry that is subtracted: likewise
  std::uint64_t m_lastOutput = 0;  // also chooses the next shuffle slot
  std::array<std::uint8_t, kTableEntries> m_residues{};

  // The ring of drawn iterations: m_ringSlot is the next iteration's. Its half holds
  // drawn iterations; the other half is drawn when that iteration runs. Empty until the
  // first cycle after a seeding.
  std::optional<WordDivisor> m_words;
  std::array<std::uint64_t, kRing> m_ringIndex{};
  std::array<std::uint64_t, kRing> m_ringValue{};
  std::uint32_t m_ringSlot = 0;
  bool m_ringDrawn = false;
};
