#pragma once
// A real worker behind a probe: records what the controller starts it with, can refuse
// to start or give its worker a share too small to allocate, and tells when it is gone.

#include <atomic>
#include <cstdint>

#include "engine/mem_test.h"

namespace test_support {

struct WorkerProbe {
  std::uint64_t startedWith = 0;
  std::uint32_t delayMs = 0;
  bool highMemory = false;
  bool failStart = false;
  bool starveMemory = false;  // start with a share that buffers cannot be made of
  bool released = false;
  IMemTest* inner = nullptr;  // the real worker, until released
};

class ProbedWorker final : public IMemTest {
 public:
  ProbedWorker(IMemTest* inner, WorkerProbe& probe) : m_inner(inner), m_probe(probe) {}

  HRESULT AllocateBuffers() override { return m_inner->AllocateBuffers(); }
  HRESULT RunCycle() override { return m_inner->RunCycle(); }
  HRESULT Prepare() override { return m_inner->Prepare(); }
  HRESULT Start(std::uint64_t memoryBytes, std::uint32_t delayMs, bool highMemory) override {
    m_probe.startedWith = memoryBytes;
    m_probe.delayMs = delayMs;
    m_probe.highMemory = highMemory;
    if (m_probe.failStart) return E_FAIL;
    return m_inner->Start(m_probe.starveMemory ? 0 : memoryBytes, delayMs, highMemory);
  }
  bool GetNextError(MemTestError& error) override { return m_inner->GetNextError(error); }
  void Release() override {
    m_inner->Release();
    m_probe.released = true;
    delete this;
  }
  MemTestStatus GetStatus() const override { return m_inner->GetStatus(); }

 private:
  ~ProbedWorker() override = default;

  IMemTest* const m_inner;
  WorkerProbe& m_probe;
};

// A real worker of `method` behind a probe.
inline IMemTest* MakeProbedWorker(std::int32_t method, WorkerProbe& probe) {
  CreateMemTest(method, probe.inner);
  return new ProbedWorker(probe.inner, probe);
}

// Whether the probed worker's thread has ended for want of memory.
inline bool WorkerFailed(const WorkerProbe& probe) {
  return probe.inner->GetStatus().state == MemTestState::Failed;
}

}  // namespace test_support
