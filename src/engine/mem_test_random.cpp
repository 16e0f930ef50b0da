#include "engine/mem_test_random.h"

#include <cstdio>

#include "platform/clock.h"

namespace {

constexpr std::string_view kSeedFixedText =
    "Two mirrored buffers, one word at a time:\n"
    "read, compare, rewrite.";
static_assert(kSeedFixedText.size() == 65);

}  // namespace

std::string CMemTestRandom::MakeSeedText(std::uint32_t seconds) {
  char lead[32];
  std::snprintf(lead, sizeof lead, "QuIlTeDpOnD:)%u ", static_cast<unsigned>(seconds));
  std::string text = lead;
  text += kSeedFixedText;
  while (text.size() < kTableEntries) text += "Q#";
  return text;
}

void CMemTestRandom::SeedGenerator(std::string_view seedText) {
  std::vector<std::uint64_t>& entry = m_generatorTable;
  entry.assign(1, 0);
  for (int i = 1; i < kTableEntries; ++i) {
    const auto c = static_cast<std::int8_t>(seedText[i]);
    // Signed 32-bit arithmetic with wrap-around, done unsigned to keep it defined.
    const auto mixed = static_cast<std::int32_t>(static_cast<std::uint32_t>(c) * 9999991u +
                                                 1999u * static_cast<std::uint32_t>(i));
    entry.push_back(static_cast<std::uint64_t>(static_cast<std::int64_t>(mixed)));
  }
  int j = kTableEntries - 1;
  int k = 11;
  for (int round = 0; round < 1999; ++round) {
    if (j == 0) j = kTableEntries - 1;
    if (k == 0) k = kTableEntries - 1;
    entry[j] -= entry[k];
    --j;
    --k;
  }
  m_lagA = kLagRing;
  m_lagB = 22;
  m_lastOutput = 107;
  for (std::uint64_t slot = 0; slot < kShuffleSlots; ++slot) {
    m_links[slot].next = &m_links[entry[kLagRing + slot] % kShuffleSlots];
  }
  m_aheadDrawn = false;
}

std::uint64_t CMemTestRandom::Next() {
  Generator generator = LoadGenerator();
  const std::uint64_t output = generator.Next();
  StoreGenerator(generator);
  return output;
}

CMemTestRandom::Generator CMemTestRandom::LoadGenerator() {
  return {m_generatorTable.data(), m_links.data(), m_lagA, m_lastOutput,
          &m_links[m_lastOutput % kShuffleSlots]};
}

void CMemTestRandom::StoreGenerator(const Generator& generator) {
  m_lagA = generator.lagA;
  m_lagB = LagBOf(m_lagA);
  m_lastOutput = generator.lastOutput;
}

HRESULT CMemTestRandom::Prepare() {
  SeedGenerator(MakeSeedText(static_cast<std::uint32_t>(platform::CalendarSeconds())));
  g_cycleIterations.store(CycleIterationsFor(m_memorySize), std::memory_order_relaxed);
  return S_OK;
}

void CMemTestRandom::DrawBatch(std::uint32_t firstSlot) {
  Generator generator = LoadGenerator();
  const WordDivisor words = *m_words;
  std::uint64_t* const word = m_aheadWord.data() + firstSlot;
  std::uint64_t* const value = m_aheadValue.data() + firstSlot;
  for (std::uint32_t n = 0; n < kBatch; ++n) {
    word[n] = words.Remainder(generator.Next());
    value[n] = generator.Next();
  }
  StoreGenerator(generator);
}

HRESULT CMemTestRandom::RunCycle() {
  if (!m_aheadDrawn) {
    // A cycle that runs no iteration draws nothing: the generator and the buffers need
    // not exist yet.
    if (g_cycleIterations.load(std::memory_order_relaxed) == 0) return S_OK;
    m_words.emplace(m_wordsA);
    for (std::uint32_t first = 0; first < kAhead; first += kBatch) DrawBatch(first);
    for (std::uint32_t n = 0; n < kAhead; ++n) {
      __builtin_prefetch(m_bufferA + m_aheadWord[n], 1);
      __builtin_prefetch(m_bufferB + m_aheadWord[n], 1);
    }
    m_aheadSlot = 0;
    m_aheadDrawn = true;
  }
  // The stores into the buffers could alias the ring, so its words are loaded afresh
  // for every visit in any case.
  const std::uint64_t* const word = m_aheadWord.data();
  const std::uint64_t* const value = m_aheadValue.data();
  std::uint32_t slot = m_aheadSlot;
  std::uint64_t* const a = m_bufferA;
  std::uint64_t* const b = m_bufferB;
  RunCycleFrame([&] {
    // At the start of a batch's slots, the batch kAhead iterations on takes the slots
    // just visited.
    if (slot % kBatch == 0) [[unlikely]]
      DrawBatch((slot + kAhead) % kRing);
    CheckAndRewrite(a, b, word[slot], [&] { return value[slot]; });
    const std::uint64_t later = word[(slot + kAhead) % kRing];
    __builtin_prefetch(a + later, 1);
    __builtin_prefetch(b + later, 1);
    slot = slot + 1 == kRing ? 0 : slot + 1;
  });
  m_aheadSlot = slot;
  return S_OK;
}
