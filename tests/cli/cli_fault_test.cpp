// The console companion on Windows with a fault planted from outside: its buffer word
// changed through WriteProcessMemory while the process stands still, the way a failing
// memory cell would change it behind the program's back.

#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "diag/format.h"
#include "support/temp_folder.h"

namespace {

using test_support::ReadFile;
using test_support::TempFolder;

// Suspends or resumes every thread of the process.
void SetThreadsRunning(DWORD processId, bool running) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != processId) continue;
    const HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    if (running) {
      ResumeThread(thread);
    } else {
      SuspendThread(thread);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
}

// The first committed, private, writable region of exactly `bytes`: a test buffer.
std::uintptr_t FindBuffer(HANDLE process, std::uint64_t bytes) {
  MEMORY_BASIC_INFORMATION region{};
  for (std::uintptr_t address = 0;
       VirtualQueryEx(process, reinterpret_cast<void*>(address), &region, sizeof region) != 0;
       address = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE &&
        region.Protect == PAGE_READWRITE && region.RegionSize == bytes) {
      return reinterpret_cast<std::uintptr_t>(region.BaseAddress);
    }
  }
  return 0;
}

TEST(CompanionFaultTest, WordChangedFromOutsideIsFoundAndReported) {
  TempFolder folder;
  const std::string json = folder.File("result.json");
  const std::string err = folder.File("stderr");
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  const HANDLE errFile = CreateFileA(err.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(errFile, INVALID_HANDLE_VALUE);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdError = errFile;
  startup.hStdOutput = errFile;
  // 24 MB on one worker: two buffers of 12 MB, which no other region of the process has.
  std::string command = "\"" SIEVELINE_CLI
                        "\" --memory 24 --method shuffling --delay 200 --errors-limit 1 --json \"" +
                        json + "\"";
  PROCESS_INFORMATION child{};
  ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                             &startup, &child));
  CloseHandle(errFile);

  const std::regex cycling("Cycles: [1-9]");
  for (int i = 0; i < 1200 && !std::regex_search(ReadFile(err), cycling); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  ASSERT_TRUE(std::regex_search(ReadFile(err), cycling)) << ReadFile(err);

  // Standing still, the process cannot rewrite the word between its read and its change.
  SetThreadsRunning(child.dwProcessId, false);
  const std::uintptr_t buffer = FindBuffer(child.hProcess, 12 << 20);
  std::uint64_t word = 0;
  constexpr std::uint64_t kBit = std::uint64_t{1} << 21;
  const auto address = reinterpret_cast<void*>(buffer + (6 << 20) + 8 * 1001);
  const bool read = buffer != 0 && ReadProcessMemory(child.hProcess, address, &word, 8, nullptr);
  const std::uint64_t flipped = word ^ kBit;
  const bool written = read && WriteProcessMemory(child.hProcess, address, &flipped, 8, nullptr);
  SetThreadsRunning(child.dwProcessId, true);

  DWORD exitCode = 0;
  if (!written || WaitForSingleObject(child.hProcess, 120'000) != WAIT_OBJECT_0) {
    TerminateProcess(child.hProcess, 99);
    WaitForSingleObject(child.hProcess, INFINITE);
  }
  GetExitCodeProcess(child.hProcess, &exitCode);
  CloseHandle(child.hThread);
  CloseHandle(child.hProcess);
  ASSERT_TRUE(written);
  EXPECT_EQ(exitCode, 1u) << ReadFile(err);

  // The word changed is in buffer A or in its mirror B: the record reads A first.
  const std::string result = ReadFile(json);
  const std::string a = Format("%p", word), b = Format("%p", flipped);
  const bool inB = result.find("\"first\":\"" + a + "\"") != std::string::npos;
  const std::string xorText = Format("%p", kBit);
  EXPECT_NE(result.find("\"errorsFound\":1,"), std::string::npos) << result;
  EXPECT_NE(result.find("\"stopReason\":\"errors limit was exceeded\",\"failMask\":\"" + xorText +
                        "\",\"lostRecords\":0,\"errors\":[{\"first\":\"" + (inB ? a : b) +
                        "\",\"second\":\"" + (inB ? b : a) + "\",\"xor\":\"" + xorText + "\"}]}\n"),
            std::string::npos)
      << result;
}

}  // namespace
