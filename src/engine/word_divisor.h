#pragma once
// Exact remainders by one divisor fixed for a worker's life, through a precomputed
// reciprocal: a multiply, shifts and a subtract instead of a hardware divide, which
// would otherwise cost the random method a good part of its iteration.

#include <cstdint>

#include <libdivide.h>

class WordDivisor {
 public:
  // `divisor` is at least 1.
  explicit WordDivisor(std::uint64_t divisor)
      : m_divisor(divisor),
        m_reciprocal(divisor == 1 ? libdivide::libdivide_u64_branchfree_t{}
                                  : libdivide::libdivide_u64_branchfree_gen(divisor)) {}

  // numerator % divisor, for every 64-bit numerator. The branch-free reciprocal has no
  // form for 1, whose remainders are all 0; the test is always predicted right.
  std::uint64_t Remainder(std::uint64_t numerator) const {
    if (m_divisor == 1) return 0;
    return numerator - libdivide::libdivide_u64_branchfree_do(numerator, &m_reciprocal) * m_divisor;
  }

 private:
  std::uint64_t m_divisor;
  libdivide::libdivide_u64_branchfree_t m_reciprocal;
};
