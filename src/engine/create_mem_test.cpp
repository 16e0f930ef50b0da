#include <new>

#include "engine/mem_test_random.h"
#include "engine/mem_test_shuffle.h"
#include "engine/mem_test_sweep.h"

HRESULT CreateMemTest(std::int32_t method, IMemTest*& out) {
  out = nullptr;
  IMemTest* worker = nullptr;
  switch (method) {
    case kMemTestRandom:
      worker = new (std::nothrow) CMemTestRandom;
      break;
    case kMemTestShuffle:
      worker = new (std::nothrow) CMemTestShuffle;
      break;
    default:
      return E_INVALIDARG;
  }
  if (worker == nullptr) return E_OUTOFMEMORY;
  out = worker;
  return S_OK;
}

HRESULT CreateCompanionMemTest(std::int32_t method, IMemTest*& out) {
  if (method != kMemTestSweep) return CreateMemTest(method, out);
  out = new (std::nothrow) CMemTestSweep;
  return out == nullptr ? E_OUTOFMEMORY : S_OK;
}
