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
// The generator's outputs do not depend on memory, so the cycle draws the outputs of
// kBatch iterations at a time, a batch ahead, and prefetches each word kPrefetch
// iterations before its visit: the visits are the algorithm's own, in its order, but
// their cache misses overlap, and the generator runs undisturbed by them. A batch is two
// whole periods of the lag ring, so that from a seeding on every batch starts at lag
// index A 53 and runs as steps laid out one after the other, on fixed table entries: a
// burst the visits cannot overlap, so the shorter the better.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

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
  static constexpr std::uint32_t kBatch = kLagRing;  // two outputs per iteration
  static constexpr std::uint32_t kRing = 2 * kBatch;
  static constexpr std::uint32_t kPrefetch = 32;  // at most kBatch

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

  // The generator's state, held in locals for a whole cycle.
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

    // One batch of kBatch iterations, two outputs each: the first, the index output,
    // reduced by `words` into `word`, and the second, the value, into `value`. From lag
    // index A 53 the batch runs unrolled.
    void DrawBatch(std::uint64_t* value, std::uint64_t* word, const WordDivisor& words);

    // The output at lag index A `j`: a number, or a constant where a whole period is
    // unrolled and every table entry but the shuffle slot is known at compile time.
    template <class LagIndex>
    [[gnu::always_inline]] std::uint64_t Step(LagIndex j) {
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

    // Output n of the batch: an index output reduced into word[n / 2], a value into
    // value[n / 2]. Reduced as soon as it is drawn, the division overlaps the chain from
    // one output to the next instead of waiting for the whole batch.
    [[gnu::always_inline]] static void Put(std::uint64_t* value, std::uint64_t* word,
                                           std::uint32_t n, std::uint64_t output,
                                           const WordDivisor& words) {
      if (n % 2 == 0) {
        word[n / 2] = words.Remainder(output);
      } else {
        value[n / 2] = output;
      }
    }

    // One whole lag period from lag index A 53, as outputs `first` on of the batch.
    template <std::int32_t... Steps>
    [[gnu::always_inline]] void Period(std::integer_sequence<std::int32_t, Steps...>,
                                       std::uint32_t first, std::uint64_t* value,
                                       std::uint64_t* word, const WordDivisor& words) {
      (Put(value, word, first + Steps,
           Step(std::integral_constant<std::int32_t, kLagRing - Steps>{}), words),
       ...);
    }
  };
  Generator LoadGenerator();
  void StoreGenerator(const Generator& generator);

  std::int32_t m_lagA = 0;         // the entry that receives the next difference: 53 down to 1
  std::int32_t m_lagB = 0;         // the entry that is subtracted: kLagDistance behind A
  std::uint64_t m_lastOutput = 0;  // also chooses the next shuffle slot
  std::array<ShuffleLink, kShuffleSlots> m_links{};

  // The ring of drawn iterations: m_ringSlot is the next iteration's. Ring slot s holds
  // its index output reduced to a word index in m_ringWord[s] and its value output in
  // m_ringValue[s]. The ring's half holds
  // drawn iterations, and the other half is drawn when that iteration runs. Behind the
  // ring, m_ringWord repeats its first kPrefetch word indexes, so that the visit loop
  // reads the index it prefetches without wrapping around. Empty until the first cycle
  // after a seeding.
  std::optional<WordDivisor> m_words;
  std::array<std::uint64_t, kRing> m_ringValue{};
  std::array<std::uint64_t, kRing + kPrefetch> m_ringWord{};
  std::uint32_t m_ringSlot = 0;
  bool m_ringDrawn = false;
};
