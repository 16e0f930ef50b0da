// Processor faults on a thread that InitTools set up arrive as QV::CRunTimeException,
// caught as QV::CException*, with the fault's own text; faults on other threads end the
// process as they always do. On Windows a fault that system code handles itself stays the
// system's.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>

#include "diag/checked_index.h"
#include "diag/exception.h"
#include "diag/format.h"
#include "diag/tools.h"
#include "platform/thread.h"

#if defined(_WIN32)
#include <windows.h>

#include <cstring>
#else
#include <sys/mman.h>
#include <unistd.h>

#include <cstdio>
#endif

namespace {

// The faulting operations. Each is a function of its own, so the faulting instruction
// can be found inside it; noipa keeps the compiler from seeing the fault coming (and
// turning it into a trap), and the sanitizers' checks are left out so that the
// processor itself faults.
#define FAULTING [[gnu::noipa, gnu::no_sanitize_address, gnu::no_sanitize_undefined]]

FAULTING int ReadFrom(std::uintptr_t address) {
  return *reinterpret_cast<volatile int*>(address);
}

FAULTING void WriteTo(std::uintptr_t address) {
  *reinterpret_cast<volatile int*>(address) = 1;
}

FAULTING int Divide(int dividend, int divisor) {
  volatile int by = divisor;
  return dividend / by;
}

FAULTING void ExecuteInvalidInstruction() {
  __builtin_trap();
}

struct CountWhenDestroyed {
  int& count;
  ~CountWhenDestroyed() { ++count; }
};

FAULTING int ReadWithCleanup(std::uintptr_t address, int& destroyed) {
  CountWhenDestroyed guard{destroyed};
  return *reinterpret_cast<volatile int*>(address);
}

struct Caught {
  std::uint32_t code = 0;
  platform::FaultInfo fault;
  std::string text;
};

// Runs operation and catches what it throws the way the program's run does.
template <typename Operation>
std::optional<Caught> CatchFault(Operation operation) {
  try {
    operation();
  } catch (QV::CException* exception) {
    Caught caught;
    caught.code = exception->code;
    caught.fault = exception->faultInfo.value_or(platform::FaultInfo{});
    char text[256];
    caught.text.assign(text, exception->GetErrorMessage(text, sizeof text));
    EXPECT_TRUE(exception->faultInfo.has_value());
    EXPECT_FALSE(exception->isStatic);
    delete exception;
    return caught;
  }
  return std::nullopt;
}

std::string AddressLine(const Caught& caught) {
  return Format("\nException occurred at %p\n", caught.fault.instructionAddress);
}

// Whether the fault happened inside function, a small one.
template <typename Function>
bool FaultedIn(const Caught& caught, Function* function) {
  const auto start = reinterpret_cast<std::uintptr_t>(function);
  return caught.fault.instructionAddress >= start && caught.fault.instructionAddress < start + 256;
}

// The program's order: InitTools on the main thread before anything else.
class ToolsEnvironment : public testing::Environment {
 public:
  void SetUp() override { InitTools(); }
};
const auto* const g_tools = testing::AddGlobalTestEnvironment(new ToolsEnvironment);

// Faults that natively arrive through signal handlers.
class FaultTranslation : public testing::Test {
 protected:
  void SetUp() override {
#if defined(__SANITIZE_THREAD__)
    GTEST_SKIP() << "ThreadSanitizer takes a throw out of a signal handler for a handler that "
                    "never ends, and then fails every call the thread makes";
#endif
  }
};

TEST_F(FaultTranslation, AccessViolationsNameTheAccessAndTheAddress) {
  const auto read = CatchFault([] { ReadFrom(0); });
  ASSERT_TRUE(read);
  EXPECT_EQ(read->code, 0xC0000005u);
  EXPECT_TRUE(FaultedIn(*read, &ReadFrom));
  EXPECT_EQ(read->text,
            "The thread tried to read from a virtual address 0000000000000000 for which it does "
            "not have the appropriate access." +
                AddressLine(*read));

  const auto write = CatchFault([] { WriteTo(0x10); });
  ASSERT_TRUE(write);
  EXPECT_EQ(write->code, 0xC0000005u);
  EXPECT_TRUE(FaultedIn(*write, &WriteTo));
  EXPECT_EQ(write->text,
            "The thread tried to write to a virtual address 0000000000000010 for which it does "
            "not have the appropriate access." +
                AddressLine(*write));
}

TEST_F(FaultTranslation, IntegerDivisionByZero) {
  const auto caught = CatchFault([] { Divide(7, 0); });
  ASSERT_TRUE(caught);
  EXPECT_EQ(caught->code, 0xC0000094u);
  EXPECT_TRUE(FaultedIn(*caught, &Divide));
  EXPECT_EQ(caught->text,
            "The thread tried to divide an integer value by an integer divisor of zero." +
                AddressLine(*caught));
}

TEST_F(FaultTranslation, InvalidInstruction) {
  const auto caught = CatchFault([] { ExecuteInvalidInstruction(); });
  ASSERT_TRUE(caught);
  EXPECT_EQ(caught->code, 0xC000001Du);
  EXPECT_TRUE(FaultedIn(*caught, &ExecuteInvalidInstruction));
  EXPECT_EQ(caught->text,
            "The thread tried to execute an invalid instruction." + AddressLine(*caught));
}

TEST(BoundsCheck, FailsWithTheArrayBoundsFault) {
  const auto caught = CatchFault([] {
    QV::CheckedArray<int, 4> items;
    items[3] = 1;
    items[4] = 2;
  });
  ASSERT_TRUE(caught);
  EXPECT_EQ(caught->code, 0xC000008Cu);
  EXPECT_EQ(caught->text, "The thread tried to access an array element that is out of bounds." +
                              AddressLine(*caught));
}

TEST_F(FaultTranslation, UnwindsTheFaultingFunctionAndTranslatesEveryFault) {
  for (int round = 0; round < 3; ++round) {
    int destroyed = 0;
    const auto caught = CatchFault([&] { ReadWithCleanup(8, destroyed); });
    ASSERT_TRUE(caught);
    EXPECT_EQ(caught->fault.inaccessibleAddress, 8u);
    EXPECT_EQ(destroyed, 1);
  }
}

TEST_F(FaultTranslation, EachThreadTranslatesOnlyWhenItAsked) {
  // A worker's InitTools installs the translator on the worker only; its UninitTools is
  // not the main thread's and changes nothing.
  std::optional<Caught> caught;
  platform::Thread worker;
  ASSERT_EQ(worker.Start(
                [](void* result) {
                  InitTools();
                  *static_cast<std::optional<Caught>*>(result) = CatchFault([] { ReadFrom(0); });
                  UninitTools();
                },
                &caught),
            S_OK);
  worker.Join();
  ASSERT_TRUE(caught);
  EXPECT_EQ(caught->code, 0xC0000005u);
  EXPECT_TRUE(CatchFault([] { Divide(1, 0); }));
}

#if defined(_WIN32)
bool InOwnImage(std::uint64_t address) {
  HMODULE module = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(address), &module);
  return module == GetModuleHandleA(nullptr);
}

TEST(SystemFaults, AFaultTheSystemHandlesStaysTheSystems) {
  // lstrlenA answers a bad pointer with 0 by catching its own access violation.
  EXPECT_EQ(lstrlenA(reinterpret_cast<LPCSTR>(std::uintptr_t{16})), 0);

  // The program's own faults are still translated, the bounds check raised inside the
  // system among them, and it is reported where the check failed.
  const auto own = CatchFault([] { WriteTo(0x20); });
  ASSERT_TRUE(own);
  EXPECT_EQ(own->text,
            "The thread tried to write to a virtual address 0000000000000020 for which it does "
            "not have the appropriate access." +
                AddressLine(*own));
  const auto bounds = CatchFault([] {
    QV::CheckedArray<int, 4> items;
    items[4] = 1;
  });
  ASSERT_TRUE(bounds);
  EXPECT_EQ(bounds->code, 0xC000008Cu);
  EXPECT_TRUE(InOwnImage(bounds->fault.instructionAddress));
}

TEST(SystemFaults, AFaultThatNobodyHandlesIsTranslatedWhereItHappened) {
  // The runtime's strlen leaves a bad pointer's fault to its callers, and none takes it.
  std::size_t (*volatile length)(const char*) = &std::strlen;
  const auto caught =
      CatchFault([&] { length(reinterpret_cast<const char*>(std::uintptr_t{16})); });
  ASSERT_TRUE(caught);
  EXPECT_EQ(caught->code, 0xC0000005u);
  EXPECT_EQ(caught->fault.inaccessibleAddress, 16u);
  EXPECT_FALSE(InOwnImage(caught->fault.instructionAddress));
}
#else
TEST_F(FaultTranslation, ABusErrorIsTheInPageError) {
  // A mapped page that its file no longer reaches cannot be brought in.
  std::FILE* file = std::tmpfile();
  ASSERT_NE(file, nullptr);
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  ASSERT_EQ(ftruncate(fileno(file), page), 0);
  void* mapped = mmap(nullptr, page, PROT_READ, MAP_SHARED, fileno(file), 0);
  ASSERT_NE(mapped, MAP_FAILED);
  ASSERT_EQ(ftruncate(fileno(file), 0), 0);
  const auto caught = CatchFault([&] { ReadFrom(reinterpret_cast<std::uintptr_t>(mapped)); });
  munmap(mapped, page);
  std::fclose(file);
  ASSERT_TRUE(caught);
  EXPECT_EQ(caught->code, 0xC0000006u);
  EXPECT_TRUE(FaultedIn(*caught, &ReadFrom));
  EXPECT_EQ(caught->text,
            "The thread tried to access a page that was not present, and the system was unable "
            "to load the page." +
                AddressLine(*caught));
}
#endif

// Reads address 0. Were the fault translated, the process would end normally instead.
void ReadZeroUntranslated() {
  try {
    ReadFrom(0);
  } catch (QV::CException*) {
    std::_Exit(0);
  }
}

TEST(FaultTranslationDeathTest, FaultsThatNobodyTranslatesEndTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_DEATH(
      {
        platform::Thread worker;
        worker.Start([](void*) { ReadZeroUntranslated(); }, nullptr);
        worker.Join();
      },
      "");
  EXPECT_DEATH(
      {
        UninitTools();
        ReadZeroUntranslated();
      },
      "");
}

#if !defined(_WIN32)
TEST(Tools, NativeBuildsHaveNoVisualStyles) {
  EXPECT_FALSE(IsThemingAvailable());
}
#endif

}  // namespace
