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

HRESULT CMemTestRandom::RunCycle() {
  if (!m_aheadDrawn) {
    // A cycle that runs no iteration draws nothing: the generator and the buffers need
    // not exist yet.
    if (g_cycleIterations.load(std::memory_order_relaxed) == 0) return S_OK;
    m_words.emplace(m_wordsA);
    Generator generator = LoadGenerator();
    for (std::uint32_t slot = 0; slot < kAhead; ++slot) {
      m_aheadWord[slot] = m_words->Remainder(generator.Next());
      m_aheadValue[slot] = generator.Next();
    }
    StoreGenerator(generator);
    m_aheadSlot = 0;
    m_aheadDrawn = true;
  }
  // The cycle works on copies, which the compiler can keep in registers or on the
  // stack: the members could alias the generator's table.
  Generator generator = LoadGenerator();
  const WordDivisor words = *m_words;
  std::array<std::uint64_t, kAhead> word = m_aheadWord;
  std::array<std::uint64_t, kAhead> value = m_aheadValue;
  std::uint32_t slot = m_aheadSlot;
  std::uint64_t* const a = m_bufferA;
  std::uint64_t* const b = m_bufferB;
  RunCycleFrame([&] {
    CheckAndRewrite(a, b, word[slot], [&] { return value[slot]; });
    // The iteration kAhead later takes the slot this one leaves.
    const std::uint64_t later = words.Remainder(generator.Next());
    word[slot] = later;
    value[slot] = generator.Next();
    __builtin_prefetch(a + later, 1);
    __builtin_prefetch(b + later, 1);
    slot = (slot + 1) % kAhead;
  });
  StoreGenerator(generator);
  m_aheadWord = word;
  m_aheadValue = value;
  m_aheadSlot = slot;
  return S_OK;
}
