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
// The generator's outputs do not depend on memory, so they are drawn ahead in batches,
// and every iteration prefetches the word of the iteration kAhead later: the visits are
// the algorithm's own, in its order, but their cache misses overlap each other. A batch
// runs apart from the visits: a visit that waits for memory then holds up only the few
// instructions and stores of the visits behind it, and prefetches go on being issued,
// where the generator's steps between the visits filled the processor's window and
// stopped them.

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
  static constexpr std::int32_t kLagDistance = 31;  // lag index B runs this far behind A
  static constexpr std::uint64_t kShuffleSlots = 36;
  // Iterations between a word's prefetch and its visit, and iterations drawn at once.
  // Measured: batches of 8 or 16 are slower at 1 GiB, and a distance of 48 or 64 is no
  // faster.
  static constexpr std::uint32_t kAhead = 32;
  static constexpr std::uint32_t kBatch = 32;
  static constexpr std::uint32_t kRing = kAhead + kBatch;
  static_assert(kAhead % kBatch == 0, "a batch fills whole slots of the ring, never wrapping");

  // Lag index B for lag index A: kLagDistance behind it, around the ring.
  static constexpr std::int32_t LagBOf(std::int32_t lagA) {
    return lagA > kLagDistance ? lagA - kLagDistance : lagA + kLagRing - kLagDistance;
  }

  // Each output picks the next shuffle slot by its remainder modulo kShuffleSlots. Every
  // shuffle slot has a link, set when the slot is written, to the link of the slot its
  // value picks: the chain from one output to the next is a single load, of a link,
  // rather than a division, or a remainder's load and the address made from it.
  struct ShuffleLink {
    ShuffleLink* next;
  };

  // The generator's state, held in locals for a whole batch.
  struct Generator {
    std::uint64_t* entry;
    ShuffleLink* links;  // one per shuffle slot, entry kLagRing on
    std::int32_t lagA;
    std::uint64_t lastOutput;
    ShuffleLink* lastLink;  // the link of the slot lastOutput picks

    std::uint64_t Next() {
      const std::uint64_t output = Step(lagA);
      lagA = lagA == 1 ? kLagRing : lagA - 1;
      return output;
    }

    // The output at lag index A `j`.
    [[gnu::always_inline]] std::uint64_t Step(std::int32_t j) {
      const std::int32_t k = LagBOf(j);
      const std::uint64_t x = entry[j] - entry[k];
      ShuffleLink* const xLink = links + x % kShuffleSlots;
      entry[j] = x;
      // The last entry of the lag ring is also the first shuffle slot.
      if (j == kLagRing) links[0].next = xLink;
      ShuffleLink* const slot = lastLink;
      std::uint64_t* const slotEntry = entry + kLagRing + (slot - links);
      lastOutput = *slotEntry;
      lastLink = slot->next;
      *slotEntry = x;
      slot->next = xLink;
      return lastOutput;
    }
  };
  Generator LoadGenerator();
  void StoreGenerator(const Generator& generator);
  // Draws the next kBatch iterations into the ring's slots from `firstSlot` on.
  void DrawBatch(std::uint32_t firstSlot);

  std::int32_t m_lagA = 0;         // the entry that receives the next difference: 53 down to 1
  std::int32_t m_lagB = 0;         // the entry that is subtracted: kLagDistance behind A
  std::uint64_t m_lastOutput = 0;  // also chooses the next shuffle slot
  std::array<ShuffleLink, kShuffleSlots> m_links{};

  // The iterations drawn ahead, a ring: slot m_aheadSlot holds the next iteration's
  // index output, reduced to a word index, in m_aheadWord and its value output in
  // m_aheadValue; the slots after it, around, the iterations after that, kAhead of them
  // at least. Empty until the first cycle after a seeding.
  std::optional<WordDivisor> m_words;
  std::array<std::uint64_t, kRing> m_aheadWord{};
  std::array<std::uint64_t, kRing> m_aheadValue{};
  std::uint32_t m_aheadSlot = 0;
  bool m_aheadDrawn = false;
};
