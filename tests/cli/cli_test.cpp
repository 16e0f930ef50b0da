// The console companion as a script starts it: a child process with its exit code, its
// output, its log and its JSON. A fault is planted from outside through /proc/PID/mem,
// the way a failing memory cell would change a word behind the program's back.

#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "diag/format.h"
#include "support/temp_folder.h"

extern char** environ;

namespace {

using test_support::ReadFile;
using test_support::TempFolder;

// A running companion with its standard output and error in files.
class Companion {
 public:
  // With `shellCommands`, a shell runs them first and then the companion in its place.
  Companion(const TempFolder& folder, std::vector<std::string> args,
            const std::string& shellCommands = "")
      : m_out(folder.File("stdout")), m_err(folder.File("stderr")) {
    args.insert(args.begin(), SIEVELINE_CLI);
    if (!shellCommands.empty()) {
      args.insert(args.begin(), {"/bin/sh", "-c", shellCommands + "; exec \"$0\" \"$@\""});
    }
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, 1, m_out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&files, 2, m_err.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    EXPECT_EQ(posix_spawn(&m_pid, argv[0], &files, nullptr, argv.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
  }
  Companion(const Companion&) = delete;
  Companion& operator=(const Companion&) = delete;
  ~Companion() {
    if (m_pid != 0) {
      kill(m_pid, SIGKILL);
      Wait();
    }
  }

  // The exit code; -1 when it ended otherwise or did not end within two minutes.
  int Wait() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    int status = 0;
    while (waitpid(m_pid, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > deadline) kill(m_pid, SIGKILL);
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_pid = 0;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // Waits for a status line that shows at least one cycle: the workers are testing.
  bool WaitUntilCycling() const {
    const std::regex cycling("Cycles: [1-9]");
    for (int i = 0; i < 1200; ++i) {
      if (std::regex_search(Err(), cycling)) return true;
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return false;
  }

  pid_t Pid() const { return m_pid; }
  std::string Out() const { return ReadFile(m_out); }
  std::string Err() const { return ReadFile(m_err); }

 private:
  const std::string m_out;
  const std::string m_err;
  pid_t m_pid = 0;
};

// Clock times ("10:00:00") and calendar times ("2026-12-09T10:00:00") as "T".
std::string WithoutTimes(const std::string& text) {
  return std::regex_replace(
      std::regex_replace(text, std::regex(R"(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d)"), "T"),
      std::regex(R"(\b\d\d:\d\d:\d\d\b)"), "T");
}

std::string JsonNumber(const std::string& json, const std::string& name) {
  std::smatch match;
  if (!std::regex_search(json, match, std::regex("\"" + name + "\":([0-9.]+)"))) return "";
  return match[1];
}

// The test buffers of a running companion: the anonymous, writable mappings of exactly
// `bufferBytes`, or of two buffers side by side, which the system joins into one.
std::vector<std::pair<std::uint64_t, std::uint64_t>> FindBuffers(pid_t pid,
                                                                 std::uint64_t bufferBytes) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> found;
  std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
  std::string line;
  while (std::getline(maps, line)) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, inode, path;
    fields >> range >> perms >> offset >> device >> inode >> path;
    const std::uint64_t start = std::stoull(range.substr(0, range.find('-')), nullptr, 16);
    const std::uint64_t end = std::stoull(range.substr(range.find('-') + 1), nullptr, 16);
    if (perms == "rw-p" && path.empty() &&
        (end - start == bufferBytes || end - start == 2 * bufferBytes)) {
      found.emplace_back(start, end);
    }
  }
  return found;
}

class CompanionTest : public testing::Test {
 protected:
  std::string LogPath() const { return folder.File("run \"1\"\\.log"); }
  std::string JsonPath() const { return folder.File("result.json"); }

  TempFolder folder;
};

TEST_F(CompanionTest, RefusesBadArgumentsBeforeAnythingStarts) {
  const std::vector<std::vector<std::string>> cases = {
      {"--memory", "8"},      {"--memory", "16x"},    {"--memory", "99999999"},
      {"--method", "sweep"},  {"--threads", "0"},     {"--threads", "100000"},
      {"--priority", "idle"}, {"--delay", "-1"},      {"--errors-limit", "4294967296"},
      {"--time-limit", "90"}, {"--time-limit", "2d"}, {"--time-limit", "0s"},
      {"--cycles", "0"},      {"--json", ""},         {"--log"},
      {"--verbose"},
  };
  for (const auto& bad : cases) {
    std::vector<std::string> args = {"--log", LogPath(), "--cycles", "1", "--memory", "16"};
    args.insert(args.end(), bad.begin(), bad.end());
    Companion companion(folder, args);
    EXPECT_EQ(companion.Wait(), 2) << bad[0];
    EXPECT_NE(companion.Err().find(bad[0]), std::string::npos) << companion.Err();
    EXPECT_EQ(companion.Out(), "") << bad[0];
    EXPECT_FALSE(std::filesystem::exists(LogPath())) << bad[0];
  }

  // Files that cannot be created are refused before the run, too.
  for (const char* option : {"--log", "--json"}) {
    Companion companion(folder,
                        {"--memory", "16", "--cycles", "1", option, folder.File("missing/file")});
    EXPECT_EQ(companion.Wait(), 4) << option;
    EXPECT_NE(companion.Err().find(option), std::string::npos) << companion.Err();
    EXPECT_EQ(companion.Out(), "");
  }
}

TEST_F(CompanionTest, CyclesRunPassesWithThePanelsLogAndItsJson) {
  Companion companion(
      folder, {"--memory", "16", "--cycles", "3", "--method", "shuffling", "--errors-limit", "7",
               "--time-limit", "90s", "--log", LogPath(), "--json", JsonPath()});
  ASSERT_EQ(companion.Wait(), 0) << companion.Err();

  const std::string json = ReadFile(JsonPath());
  const std::string available = JsonNumber(json, "availableMb");
  const std::string cycles = JsonNumber(json, "cycles");
  ASSERT_FALSE(available.empty());
  ASSERT_GE(std::stoi(cycles), 3);
  EXPECT_EQ(WithoutTimes(ReadFile(LogPath())),
            "Started T\r\n"
            "memory: 16 of " +
                available +
                " Mb, method: 1, priority: normal, work threads: 1, errstop: 7, hrsstop: 1\r\n"
                "Finished T (reason: cycles limit was exceeded)\r\n");
  // With 16 MB, every cycle goes through the memory once: 10 per cycle.
  const std::string checked = std::to_string(std::stoi(cycles) * 10);
  std::string escapedLog = std::regex_replace(LogPath(), std::regex(R"(["\\])"), "\\$&");
  EXPECT_EQ(WithoutTimes(json),
            "{\"version\":\"1.0.0.0\",\"memoryMb\":16,\"availableMb\":" + available +
                ",\"method\":\"shuffling\",\"threads\":1,\"priority\":\"normal\","
                "\"highMemory\":false,\"delayMs\":0,\"errorsLimit\":7,\"timeLimitSeconds\":90,"
                "\"cyclesLimit\":3,\"log\":\"" +
                escapedLog +
                "\",\"start\":\"T\",\"finish\":\"T\",\"workersAsked\":1,\"workersStarted\":1,"
                "\"errorsFound\":0,\"cycles\":" +
                cycles + ",\"checkedPercent\":" + checked +
                ".0,\"stopReason\":\"cycles limit was exceeded\","
                "\"failMask\":\"0000000000000000\",\"lostRecords\":0,\"errors\":[]}\n");
  EXPECT_EQ(companion.Out(), "Test stopped (cycles limit was exceeded)\nErrors: 0\nCycles: " +
                                 cycles + "\nChecked: " + checked + "%\n");
}

TEST_F(CompanionTest, InterruptEndsTheRunAsTheUsersStop) {
  Companion companion(folder,
                      {"--memory", "16", "--delay", "100", "--log", LogPath(), "--json", "-"});
  ASSERT_TRUE(companion.WaitUntilCycling()) << companion.Err();
  kill(companion.Pid(), SIGINT);
  EXPECT_EQ(companion.Wait(), 0);
  const std::string log = ReadFile(LogPath());
  EXPECT_TRUE(log.ends_with(" (reason: terminated by user)\r\n")) << log;
  EXPECT_NE(companion.Out().find("\"stopReason\":\"terminated by user\""), std::string::npos);
  EXPECT_NE(companion.Err().find("Test stopped (terminated by user)\n"), std::string::npos);
}

#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
// Sanitizers reserve more address space than the limit leaves.
TEST_F(CompanionTest, RunWithoutTestMemoryEndsWithItsOwnCode) {
  Companion companion(folder, {"--memory", "1024", "--log", LogPath(), "--json", "-"},
                      "ulimit -v 300000");
  EXPECT_EQ(companion.Wait(), 3) << companion.Err();
  const std::string json = companion.Out();
  EXPECT_EQ(WithoutTimes(ReadFile(LogPath())),
            "Started T\r\nmemory: 1024 of " + JsonNumber(json, "availableMb") +
                " Mb, method: 0, priority: normal, work threads: 1, errstop: 0, hrsstop: 0\r\n"
                "**Warning: 0 work thread(s) of 1 started\r\n"
                "Finished T (reason: test memory could not be allocated)\r\n");
  EXPECT_NE(json.find("\"workersAsked\":1,\"workersStarted\":0,\"errorsFound\":0,"),
            std::string::npos)
      << json;
}
#endif

TEST_F(CompanionTest, BitFlippedFromOutsideIsFoundReportedAndStopsAtTheErrorsLimit) {
  // 24 MB on one worker: two buffers of 12 MB, which no other mapping of the process has.
  constexpr std::uint64_t kBufferBytes = 12 << 20;
  Companion companion(folder, {"--memory", "24", "--method", "sweeping", "--delay", "200",
                               "--errors-limit", "1", "--log", LogPath(), "--json", JsonPath()});
  ASSERT_TRUE(companion.WaitUntilCycling()) << companion.Err();

  // Stopped, the process cannot rewrite the word between its read and its change.
  ASSERT_EQ(kill(companion.Pid(), SIGSTOP), 0);
  const auto buffers = FindBuffers(companion.Pid(), kBufferBytes);
  ASSERT_FALSE(buffers.empty());
  const std::uint64_t address = (buffers[0].first + buffers[0].second) / 2 + 8 * 1001;
  std::fstream memory("/proc/" + std::to_string(companion.Pid()) + "/mem",
                      std::ios::in | std::ios::out | std::ios::binary);
  std::uint64_t word = 0;
  memory.seekg(static_cast<std::streamoff>(address));
  ASSERT_TRUE(memory.read(reinterpret_cast<char*>(&word), sizeof word));
  constexpr std::uint64_t kBit = std::uint64_t{1} << 37;
  const std::uint64_t flipped = word ^ kBit;
  memory.seekp(static_cast<std::streamoff>(address));
  ASSERT_TRUE(memory.write(reinterpret_cast<const char*>(&flipped), sizeof flipped));
  memory.close();
  ASSERT_EQ(kill(companion.Pid(), SIGCONT), 0);

  ASSERT_EQ(companion.Wait(), 1) << companion.Err();
  const std::string json = ReadFile(JsonPath());
  // The word changed is in buffer A or in its mirror B: the record reads A first.
  const std::string a = Format("%p", word), b = Format("%p", flipped);
  const std::string xorText = Format("%p", kBit);
  const bool inB = json.find("\"first\":\"" + a + "\"") != std::string::npos;
  const std::string first = inB ? a : b, second = inB ? b : a;
  EXPECT_NE(json.find("\"method\":\"sweeping\""), std::string::npos) << json;
  EXPECT_NE(json.find("\"errorsFound\":1,"), std::string::npos) << json;
  EXPECT_NE(json.find("\"stopReason\":\"errors limit was exceeded\",\"failMask\":\"" + xorText +
                      "\",\"lostRecords\":0,\"errors\":[{\"first\":\"" + first +
                      "\",\"second\":\"" + second + "\",\"xor\":\"" + xorText + "\"}]}\n"),
            std::string::npos)
      << json;

  const std::regex logged(
      "Started T\r\nmemory: 24 of \\d+ Mb, method: 2, priority: normal, "
      "work threads: 1, errstop: 1, hrsstop: 0\r\n"
      "Error 1, out of \\d+ cycles, \\(\\d+% checked\\) - " +
      first + " vs " + second + " \\(" + xorText +
      "\\), T\r\nFinished T \\(reason: errors limit was exceeded\\)\r\n");
  const std::string log = WithoutTimes(ReadFile(LogPath()));
  EXPECT_TRUE(std::regex_match(log, logged)) << log;
}

}  // namespace
