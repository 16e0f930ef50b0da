#pragma once
// Test method 0, "random": every iteration visits a word at a random index and writes a
// random value, both from a generator of the method's own, a subtractive lagged
// generator followed by a shuffle buffer, seeded from the calendar time.
//
// The generator lives in the worker's generator table, 90 entries: 1 to 53 are the lag
// ring, 53 to 88 the shuffle buffer of 36 slots; entry 0 is never read and entry 89
// only takes part in the warm-up. Workers prepared within the same second share a seed
// and so visit the same indexes in their own buffers.

#include <string>
#include <string_view>

#include "engine/mem_test_impl.h"

class CMemTestRandom final : public IMemTestImpl {
 public:
  HRESULT RunCycle() override;
  HRESULT Prepare() override;

  // The generator's seed, made from the calendar time: at least 90 characters.
  static std::string MakeSeedText(std::uint32_t seconds);
  // Seeds and warms up the generator from characters 1 to 89 of `seedText`.
  void SeedGenerator(std::string_view seedText);
  // One 64-bit output of the generator.
  std::uint64_t Next();

 private:
  std::int32_t m_lagA = 0;         // the entry that receives the next difference: 53 down to 1
  std::int32_t m_lagB = 0;         // the entry that is subtracted: likewise
  std::uint64_t m_lastOutput = 0;  // also chooses the next shuffle slot
};
