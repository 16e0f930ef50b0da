#include "engine/mem_test_shuffle.h"

#include "platform/clock.h"

CMemTestShuffle::CMemTestShuffle() {
  // Type 1 is always a CMT19937.
  if (!Failed(CreateRandom(kRandomMersenneTwister, m_random))) {
    m_source = static_cast<CMT19937*>(m_random);
  }
}

HRESULT CMemTestShuffle::PrepareBlocks(std::uint64_t memoryBytes, std::uint64_t seed) {
  if (m_random == nullptr) return E_FAIL;
  m_random->Seed(seed);

  const std::uint64_t blockCount = memoryBytes < 0x10000000u ? 64 : 256;
  const auto stride = static_cast<std::int32_t>(memoryBytes / (blockCount * 16));
  // A stride of 0 would send the sweep past the end of the buffers.
  if (stride == 0) return E_INVALIDARG;

  // Inside-out shuffle: block i's start enters at position i and swaps with a random
  // earlier position.
  std::vector<std::uint64_t>& table = m_generatorTable;
  table.assign(1, 0);
  for (std::uint64_t i = 1; i < blockCount; ++i) {
    table.push_back(i * static_cast<std::uint64_t>(stride));
    const std::uint64_t j = m_random->GetInt(RandomKind::Int31) % i;
    std::swap(table[i], table[j]);
  }

  m_stride = stride;
  m_cursor = {static_cast<std::int32_t>(blockCount), 0};
  // Values drawn ahead before this seeding are not the new sequence's.
  m_valuesDrawn = 0;
  m_valuesNext = 0;
  return S_OK;
}

HRESULT CMemTestShuffle::Prepare() {
  const HRESULT result = PrepareBlocks(m_memorySize, platform::ReadTimeStampCounter());
  if (Failed(result)) return result;
  g_cycleIterations.store(CycleIterationsFor(m_memorySize), std::memory_order_relaxed);
  return S_OK;
}

std::uint64_t CMemTestShuffle::NextIndex() {
  return m_cursor.Next(m_generatorTable.data(), static_cast<std::int32_t>(m_generatorTable.size()),
                       m_stride);
}

HRESULT CMemTestShuffle::RunCycle() {
  // Locals, so that they stay in registers across the possible mismatch calls.
  const std::uint64_t* const table = m_generatorTable.data();
  const auto blocks = static_cast<std::int32_t>(m_generatorTable.size());
  const std::int32_t stride = m_stride;
  std::uint64_t* const a = m_bufferA;
  std::uint64_t* const b = m_bufferB;
  Cursor visit = m_cursor;
  CMT19937& source = *m_source;
  std::uint64_t* const values = m_values;
  int drawn = m_valuesDrawn;
  int next = m_valuesNext;
  // Each cycle starts a stretch of its own: the time between cycles is not the sweep's,
  // and a stretch that a cycle's end cuts off is not measured.
  int pace = m_tuner.Pace();
  std::uint32_t stretchLeft = PaceTuner::kStretchIterations;
  std::uint64_t stretchStart = platform::ReadTimeStampCounter();
  // Always 0, but hidden from the compiler, which would otherwise fold the chain of
  // multiplies away: the values wait on it and stay what they are.
  std::uint64_t zero = 0;
  asm("" : "+r"(zero));
  RunCycleFrame([&] {
    CheckAndRewrite(a, b, visit.Next(table, blocks, stride), [&] {
      if (next == drawn) [[unlikely]] {
        drawn = source.DrawRound(values);
        next = 0;
      }
      for (int step = pace; step != 0; --step) zero *= zero;
      return values[next++] | zero;
    });
    if (--stretchLeft == 0) [[unlikely]] {
      const std::uint64_t now = platform::ReadTimeStampCounter();
      pace = m_tuner.StretchEnded(now - stretchStart);
      stretchStart = now;
      stretchLeft = PaceTuner::kStretchIterations;
    }
  });
  m_cursor = visit;
  m_valuesDrawn = drawn;
  m_valuesNext = next;
  return S_OK;
}
