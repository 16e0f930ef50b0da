#include "engine/mem_test_random.h"

#include <cstdio>

#include "platform/clock.h"

namespace {

constexpr int kTableEntries = 90;
constexpr std::int32_t kLagRing = 53;
constexpr std::uint64_t kShuffleSlots = 36;

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
}

std::uint64_t CMemTestRandom::Next() {
  std::uint64_t* const entry = m_generatorTable.data();
  const std::int32_t k = m_lagB--;
  const std::int32_t j = m_lagA--;
  const std::uint64_t x = entry[j] - entry[k];
  entry[j] = x;
  if (m_lagA == 0) m_lagA = kLagRing;
  if (m_lagB == 0) m_lagB = kLagRing;
  const std::uint64_t slot = kLagRing + m_lastOutput % kShuffleSlots;
  m_lastOutput = entry[slot];
  entry[slot] = x;
  return m_lastOutput;
}

HRESULT CMemTestRandom::Prepare() {
  SeedGenerator(MakeSeedText(static_cast<std::uint32_t>(platform::CalendarSeconds())));
  g_cycleIterations.store(CycleIterationsFor(m_memorySize), std::memory_order_relaxed);
  return S_OK;
}

HRESULT CMemTestRandom::RunCycle() {
  RunCycleFrame([this] {
    const std::uint64_t i = Next() % m_wordsA;
    CheckAndRewrite(i, [this] { return Next(); });
  });
  return S_OK;
}
