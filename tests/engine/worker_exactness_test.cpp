// The production worker, on its own thread, against a literal transcription of each
// method: over several cycles, with a fault planted between cycles (so g_failMask
// changes in the middle of the next one) and a last cycle cut short by Release, both
// buffers and the error records must come out word for word as the transcription's.
// This is what keeps any tuning of the hot loops honest.

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "engine/mem_test_random.h"
#include "engine/mem_test_shuffle.h"
#include "engine/mem_test_sweep.h"
#include "random/mt19937.h"
#include "worker_support.h"

namespace {

using namespace test_support;

// An odd word count (1,048,579) for the random method's division; for the shuffle
// method it leaves three words beyond its 64 blocks of 16,384 words, so that one cycle
// is one sweep and visits every word once.
constexpr std::uint64_t kShare = (16u << 20) + 3 * 16;
constexpr std::uint64_t kWords = kShare / 16;
constexpr std::uint32_t kSeedSeconds = 1700000000;
constexpr std::uint64_t kShuffleSeed = 0x5EED5EED5EEDull;
constexpr std::uint64_t kSweepSeed = 0x5EEDC0DE;
// Outputs drawn before the first cycle: they set the worker's batches off the lag ring's
// period.
constexpr int kRandomOutputsBefore = 5;
// The iterations of the cycle that Release cuts short.
constexpr std::uint32_t kCutCycleIterations = 256 * 0x100000;

// The random method's generator, step by step as the method defines it.
class LiteralRandom {
 public:
  LiteralRandom() {
    const std::string text = CMemTestRandom::MakeSeedText(kSeedSeconds);
    m_entry[0] = 0;
    for (int i = 1; i < 90; ++i) {
      const auto c = static_cast<std::int8_t>(text[i]);
      const auto mixed = static_cast<std::int32_t>(static_cast<std::uint32_t>(c) * 9999991u +
                                                   1999u * static_cast<std::uint32_t>(i));
      m_entry[i] = static_cast<std::uint64_t>(static_cast<std::int64_t>(mixed));
    }
    int j = 89;
    int k = 11;
    for (int round = 0; round < 1999; ++round) {
      if (j == 0) j = 89;
      if (k == 0) k = 89;
      m_entry[j] = m_entry[j] - m_entry[k];
      j -= 1;
      k -= 1;
    }
    for (int n = 0; n < kRandomOutputsBefore; ++n) Next();
  }

  std::uint64_t Next() {
    const std::int32_t k = m_lagB;
    m_lagB -= 1;
    const std::int32_t j = m_lagA;
    const std::uint64_t x = m_entry[j] - m_entry[k];
    m_lagA = j - 1;
    m_entry[j] = x;
    if (m_lagA == 0) m_lagA = 53;
    if (m_lagB == 0) m_lagB = 53;
    const std::uint64_t s = 53 + m_last % 36;
    m_last = m_entry[s];
    m_entry[s] = x;
    return m_last;
  }

  std::uint64_t Index() { return Next() % kWords; }
  std::uint64_t Value() { return Next(); }

 private:
  std::uint64_t m_entry[90];
  std::int32_t m_lagA = 53;
  std::int32_t m_lagB = 22;
  std::uint64_t m_last = 107;
};

// The shuffle method: the inside-out block shuffle, then the sweep.
class LiteralShuffle {
 public:
  LiteralShuffle() {
    m_source->Seed(kShuffleSeed);
    const std::uint64_t stride = kShare / (64 * 16);
    m_table.push_back(0);
    for (std::uint64_t i = 1; i < 64; ++i) {
      m_table.push_back(i * stride);
      const std::uint64_t j = m_source->GetInt(RandomKind::Int31) % i;
      std::swap(m_table[i], m_table[j]);
    }
    m_blocksLeft = 64;
  }

  std::uint64_t Index() {
    if (m_blocksLeft == 0) {
      m_blocksLeft = m_table.size();
      m_offset += 1;
      if (m_offset == kShare / (m_table.size() * 16)) m_offset = 0;
    }
    m_blocksLeft -= 1;
    return m_offset + m_table[m_blocksLeft];
  }

  std::uint64_t Value() { return m_source->GetInt(RandomKind::Int64); }

 private:
  struct Deleter {
    void operator()(CMT19937* source) const { source->Release(); }
  };
  std::unique_ptr<CMT19937, Deleter> m_source{new CMT19937};
  std::vector<std::uint64_t> m_table;
  std::uint64_t m_blocksLeft = 0;
  std::uint64_t m_offset = 0;
};

// The sweeping method: every word in address order from where the first cycle ended,
// each with the next value of four xoshiro256+ generators taken in turn, generator g
// seeded with SplitMix64 outputs 4g to 4g + 3.
class LiteralSweep {
 public:
  LiteralSweep() {
    std::uint64_t seed = kSweepSeed;
    for (auto& state : m_states) {
      for (std::uint64_t& word : state) {
        std::uint64_t z = (seed += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        word = z ^ (z >> 31);
      }
    }
  }

  std::uint64_t Index() {
    const std::uint64_t i = m_position;
    m_position = (m_position + 1) % kWords;
    return i;
  }

  std::uint64_t Value() {
    std::uint64_t* s = m_states[m_drawn++ % 4];
    const std::uint64_t result = s[0] + s[3];
    const std::uint64_t t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = std::rotl(s[3], 45);
    return result;
  }

 private:
  std::uint64_t m_position = IMemTestImpl::CycleIterationsFor(kShare) % kWords;
  std::uint64_t m_states[4][4];
  std::uint64_t m_drawn = 0;
};

// Both buffers, the mask and the records, advanced one literal iteration at a time.
struct Reference {
  std::vector<std::uint64_t> a;
  std::vector<std::uint64_t> b;
  std::uint64_t mask = 0;
  std::vector<MemTestError> records;

  void Record(std::uint64_t i) {
    records.push_back({a[i], b[i]});
    mask |= a[i] ^ b[i];
  }

  // `picked` sees the index before the word is touched.
  template <class Method, class Picked>
  void Iterate(Method& method, Picked picked) {
    const std::uint64_t i = method.Index();
    picked(i);
    if (a[i] != b[i]) Record(i);
    const std::uint64_t v = method.Value() | mask;
    a[i] = v;
    b[i] = v;
    if (a[i] != b[i]) Record(i);
  }
  template <class Method>
  void Iterate(Method& method) {
    Iterate(method, [](std::uint64_t) {});
  }
};

struct ObservedCycle {
  std::vector<std::uint64_t> a;
  std::vector<std::uint64_t> b;
  std::vector<MemTestError> records;
  bool cut = false;  // g_cycleIterations was 0 when it ended: Release had come
  std::optional<std::uint64_t> plantedIndex;  // planted after the cycle, with plantedBits
  std::uint64_t plantedBits = 0;
};

// Runs on the worker's thread after each cycle. After the first it reseeds the method
// with a known seed and keeps the buffers as the transcription's start; after each
// later one it keeps buffers and records, and plants the next fault.
class CycleRecorder {
 public:
  // The faults go to `midCycle` after the first recorded cycle and to `early` after the
  // second.
  CycleRecorder(IMemTest& worker, std::function<void()> reseed, std::uint64_t midCycle,
                std::uint64_t early)
      : m_worker(worker), m_reseed(std::move(reseed)), m_plants{midCycle, early} {}

  static void Hook(void* self, volatile std::uint64_t* a, volatile std::uint64_t* b,
                   std::uint64_t words) {
    static_cast<CycleRecorder*>(self)->AfterCycle(a, b, words);
  }

  bool ReadyForRelease() const { return m_readyForRelease.load(std::memory_order_acquire); }

  // Readable once the worker is released.
  std::vector<std::uint64_t> startA, startB;
  std::uint64_t startMask = 0;
  std::uint64_t recordsBeforeStart = 0;
  std::vector<ObservedCycle> cycles;

 private:
  void AfterCycle(volatile std::uint64_t* a, volatile std::uint64_t* b, std::uint64_t words) {
    const bool cut = g_cycleIterations.load() == 0;
    std::vector<MemTestError> records;
    for (MemTestError record; m_worker.GetNextError(record);) records.push_back(record);
    if (startA.empty()) {
      m_reseed();
      startA.assign(a, a + words);
      startB.assign(b, b + words);
      startMask = g_failMask.load();
      recordsBeforeStart = records.size();
      return;
    }
    ObservedCycle& cycle = cycles.emplace_back();
    cycle.a.assign(a, a + words);
    cycle.b.assign(b, b + words);
    cycle.records = std::move(records);
    cycle.cut = cut;
    if (cut || cycles.size() > 2) return;
    // A bit no earlier fault of the process has set, so the mask really changes.
    const std::uint64_t mask = g_failMask.load();
    const std::uint64_t bit = ~mask & (mask + 1);
    if (bit == 0) return;
    const std::uint64_t index = m_plants[cycles.size() - 1];
    b[index] = b[index] ^ bit;
    cycle.plantedIndex = index;
    cycle.plantedBits = bit;
    if (cycles.size() == 2) {
      // A cycle far longer than the others, so that the Release comes in its middle and
      // not while this hook copies the buffers: a fast method would otherwise often end
      // its cycle first, and stop without a cut one.
      g_cycleIterations.store(kCutCycleIterations);
      m_readyForRelease.store(true, std::memory_order_release);
    }
  }

  IMemTest& m_worker;
  std::function<void()> m_reseed;
  const std::uint64_t m_plants[2];
  std::atomic<bool> m_readyForRelease{false};
};

void ExpectSameWords(const std::vector<std::uint64_t>& expected,
                     const std::vector<std::uint64_t>& actual, const char* buffer,
                     std::size_t cycle) {
  ASSERT_EQ(expected.size(), actual.size());
  for (std::size_t w = 0; w < expected.size(); ++w) {
    ASSERT_EQ(expected[w], actual[w])
        << "buffer " << buffer << ", word " << w << ", cycle " << cycle;
  }
}

void ExpectSameRecords(const std::vector<MemTestError>& expected,
                       const std::vector<MemTestError>& actual, std::size_t cycle) {
  ASSERT_EQ(expected.size(), actual.size()) << "cycle " << cycle;
  for (std::size_t r = 0; r < expected.size(); ++r) {
    EXPECT_EQ(expected[r].first, actual[r].first) << "record " << r << ", cycle " << cycle;
    EXPECT_EQ(expected[r].second, actual[r].second) << "record " << r << ", cycle " << cycle;
  }
}

// The iterations a cut cycle ran: the first count at which the transcription's buffers
// and records are the observed ones. Words are tracked one by one as they are rewritten,
// so the search costs one iteration's work per candidate.
template <class Method>
std::optional<std::uint32_t> MatchCutCycle(Reference& reference, Method& method,
                                           const ObservedCycle& observed, std::uint32_t longest) {
  const auto differs = [&](std::uint64_t w) {
    return reference.a[w] != observed.a[w] || reference.b[w] != observed.b[w];
  };
  std::uint64_t differing = 0;
  for (std::uint64_t w = 0; w < reference.a.size(); ++w) differing += differs(w);
  for (std::uint32_t done = 0;; ++done) {
    if (differing == 0 && reference.records.size() == observed.records.size()) return done;
    if (done == longest) return std::nullopt;
    std::uint64_t touched = 0;
    reference.Iterate(method, [&](std::uint64_t i) {
      touched = i;
      differing -= differs(i);
    });
    differing += differs(touched);
  }
}

// Where to plant the faults, from the transcription's own index sequence. The first
// goes to a word that the third cycle after the reseed visits only once, near its middle:
// the value written when it is found is the word's last in that cycle, so it shows
// whether the mask was read after the first comparison. The second goes to the first
// word of the fourth cycle, so that even a cycle cut short early finds it.
template <class Method>
std::pair<std::uint64_t, std::uint64_t> PlantIndexes(std::uint32_t fullCycle) {
  Method method;
  for (std::uint32_t n = 0; n < fullCycle; ++n) method.Index(), method.Value();
  std::vector<std::uint32_t> visits(kWords);
  std::vector<std::uint32_t> when(kWords);
  for (std::uint32_t n = 0; n < fullCycle; ++n) {
    const std::uint64_t i = method.Index();
    method.Value();
    ++visits[i];
    when[i] = n;
  }
  std::uint64_t midCycle = 0;
  std::uint32_t distance = fullCycle;
  for (std::uint64_t w = 0; w < kWords; ++w) {
    const std::uint32_t from =
        when[w] > fullCycle / 2 ? when[w] - fullCycle / 2 : fullCycle / 2 - when[w];
    if (visits[w] == 1 && from < distance) {
      midCycle = w;
      distance = from;
    }
  }
  return {midCycle, method.Index()};
}

// `iterationsRun`, when given, receives the iterations the worker ran after the reseed,
// up to the end of the cycle cut short by Release.
template <class Method>
void CheckAgainstTranscription(std::int32_t methodIndex, std::function<void(IMemTest&)> reseed,
                               std::uint64_t* iterationsRun = nullptr) {
  const std::uint32_t fullCycle = IMemTestImpl::CycleIterationsFor(kShare);
  const auto [midCycle, early] = PlantIndexes<Method>(fullCycle);
  Worker worker = MakeWorker(methodIndex);
  ASSERT_TRUE(worker);
  CycleRecorder recorder(
      *worker, [&, raw = worker.get()] { reseed(*raw); }, midCycle, early);
  Impl(worker).SetCycleHook(&CycleRecorder::Hook, &recorder);
  const std::int32_t cyclesBefore = Cycles();
  ASSERT_EQ(worker->Start(kShare, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return recorder.ReadyForRelease(); }));
  // The worker is in the middle of its next cycle: Release cuts it short.
  worker.reset();
  const std::int32_t cyclesCounted = Cycles() - cyclesBefore;

  ASSERT_EQ(recorder.startA.size(), kWords);
  ASSERT_EQ(recorder.recordsBeforeStart, 0u);
  ASSERT_GE(recorder.cycles.size(), 3u);
  ASSERT_TRUE(recorder.cycles[0].plantedIndex) << "no free bit left in the mask";

  Method method;
  Reference reference{recorder.startA, recorder.startB, recorder.startMask, {}};
  std::uint32_t cut = 0;
  for (std::size_t c = 0; c < recorder.cycles.size(); ++c) {
    const ObservedCycle& observed = recorder.cycles[c];
    reference.records.clear();
    if (observed.cut) {
      ASSERT_EQ(c + 1, recorder.cycles.size()) << "only the last cycle sees the release";
      const std::optional<std::uint32_t> done =
          MatchCutCycle(reference, method, observed, kCutCycleIterations);
      ASSERT_TRUE(done) << "the cut cycle is no prefix of the transcription's";
      cut = *done;
    } else {
      for (std::uint32_t n = 0; n < fullCycle; ++n) reference.Iterate(method);
    }
    ExpectSameWords(reference.a, observed.a, "A", c);
    ExpectSameWords(reference.b, observed.b, "B", c);
    ExpectSameRecords(reference.records, observed.records, c);
    if (observed.plantedIndex) reference.b[*observed.plantedIndex] ^= observed.plantedBits;
  }
  ASSERT_TRUE(recorder.cycles.back().cut);
  // The first planted fault was found, in the middle of the cycle after it.
  EXPECT_FALSE(recorder.cycles[1].records.empty());
  EXPECT_EQ(g_failMask.load(), reference.mask);
  // The first cycle, the recorded ones, and the cut one if it ran an iteration.
  const auto recorded = static_cast<std::int32_t>(recorder.cycles.size());
  EXPECT_EQ(cyclesCounted, recorded + (cut == 0 ? 0 : 1));
  if (iterationsRun) *iterationsRun = (recorded - 1) * std::uint64_t{fullCycle} + cut;
}

TEST(WorkerExactness, RandomMethodIsItsLiteralAlgorithm) {
  CheckAgainstTranscription<LiteralRandom>(kMemTestRandom, [](IMemTest& worker) {
    auto& random = static_cast<CMemTestRandom&>(worker);
    random.SeedGenerator(CMemTestRandom::MakeSeedText(kSeedSeconds));
    for (int n = 0; n < kRandomOutputsBefore; ++n) random.Next();
  });
}

TEST(WorkerExactness, ShuffleMethodIsItsLiteralAlgorithm) {
  CheckAgainstTranscription<LiteralShuffle>(kMemTestShuffle, [](IMemTest& worker) {
    EXPECT_EQ(static_cast<CMemTestShuffle&>(worker).PrepareBlocks(kShare, kShuffleSeed), S_OK);
  });
}

// The sweep may work a block at a time, but only as fast as its words one by one; and a
// Release ends its cycle at the end of a block.
TEST(WorkerExactness, SweepMethodIsItsLiteralAlgorithmAndStopsAtABlocksEnd) {
  std::uint64_t iterations = 0;
  CheckAgainstTranscription<LiteralSweep>(
      kMemTestSweep, [](IMemTest& worker) { static_cast<CMemTestSweep&>(worker).Seed(kSweepSeed); },
      &iterations);
  // Where the worker stopped, counted from where the first, unrecorded cycle ended; a
  // Release that came before the cut cycle's first block stops it where it began.
  const std::uint64_t fullCycle = IMemTestImpl::CycleIterationsFor(kShare);
  const std::uint64_t stop = (fullCycle + iterations) % kWords;
  if (iterations % fullCycle != 0) {
    EXPECT_EQ(stop % CMemTestSweep::kBlockWords, 0u) << "stopped at word " << stop;
  }
}

}  // namespace
