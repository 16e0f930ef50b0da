#pragma once
// Words side by side in one vector, for the loops that fill or compare many words at
// once, and whether the processor has the wide ones.

#include <cstdint>

// Four words in one vector: 256 bits where the processor has them, two halves elsewhere.
using WordLanes = std::uint64_t __attribute__((vector_size(32)));
// Eight words in one vector, for processors with 512-bit vectors.
using WordOctet = std::uint64_t __attribute__((vector_size(64)));
// Two words in one vector, as every x86-64 processor holds them in one register.
using WordPair = std::uint64_t __attribute__((vector_size(16)));

// Whether the processor has 256-bit vectors of integers, and the system keeps them
// across thread switches: then the loops over many words are compiled for them as well.
inline bool HasWideVectors() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx2");
}

// Whether the processor has 512-bit vectors (AVX-512F), kept by the system likewise.
inline bool HasWidestVectors() {
  __builtin_cpu_init();
  return __builtin_cpu_supports("avx512f");
}
