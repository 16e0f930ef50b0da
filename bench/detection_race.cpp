// How fast a hard fault is found: the console companion, and memtester and stressapptest
// where they are installed, each test the same amount of memory while one random bit of
// one random word of their test memory is held at 1 from outside, the way a stuck cell
// holds it. For each tool it prints the median, over several trials, of the seconds from
// the first change of the word to the tool's first report of an error.
//
// The bit is held by rewriting the word through /proc/<pid>/mem every millisecond
// whenever the tool has cleared it. The word is picked among the tool's large anonymous
// mappings once the tool is testing. Linux only; needs the right to write another
// process's memory (root, or a ptrace scope of 0 for a child).
//
//   cmake --build --preset native --target detection_race sieveline-cli &&
//   build/native/bench/detection_race [--memory MB] [--trials N]

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kHoldInterval = std::chrono::milliseconds(1);
constexpr auto kSettle = std::chrono::milliseconds(500);
constexpr auto kReadyTimeout = std::chrono::seconds(60);
constexpr auto kReportTimeout = std::chrono::seconds(60);

struct Tool {
  std::string name;
  std::vector<std::string> command;
  std::regex ready;   // output once the tool is testing
  std::regex report;  // output that reports an error
};

// A started tool with its standard output and error in one pipe.
class Child {
 public:
  explicit Child(const std::vector<std::string>& command) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) return;
    m_pid = fork();
    if (m_pid == 0) {
      dup2(pipeFds[1], STDOUT_FILENO);
      dup2(pipeFds[1], STDERR_FILENO);
      close(pipeFds[0]);
      close(pipeFds[1]);
      std::vector<char*> argv;
      for (const std::string& arg : command) argv.push_back(const_cast<char*>(arg.c_str()));
      argv.push_back(nullptr);
      execvp(argv[0], argv.data());
      _exit(127);
    }
    close(pipeFds[1]);
    m_output = pipeFds[0];
    fcntl(m_output, F_SETFL, O_NONBLOCK);
  }
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() {
    if (m_pid > 0 && !m_reaped) {
      kill(m_pid, SIGKILL);
      waitpid(m_pid, nullptr, 0);
    }
    if (m_output >= 0) close(m_output);
  }

  pid_t Pid() const { return m_pid; }

  // Whether the tool has ended; an ended tool is reaped here, once.
  bool Exited() {
    if (!m_reaped) m_reaped = waitpid(m_pid, nullptr, WNOHANG) != 0;
    return m_reaped;
  }

  // All output so far.
  const std::string& Output() {
    char chunk[4096];
    for (ssize_t got; (got = read(m_output, chunk, sizeof chunk)) > 0;) m_text.append(chunk, got);
    return m_text;
  }

 private:
  pid_t m_pid = -1;
  bool m_reaped = false;
  int m_output = -1;
  std::string m_text;
};

struct Mapping {
  std::uint64_t start;
  std::uint64_t end;
};

// The anonymous read-write mappings of at least minBytes: the tools' test memory.
std::vector<Mapping> LargeMappings(pid_t pid, std::uint64_t minBytes) {
  std::vector<Mapping> found;
  std::ifstream maps("/proc/" + std::to_string(pid) + "/maps");
  for (std::string line; std::getline(maps, line);) {
    std::istringstream fields(line);
    std::string range, perms, offset, device, inode, path;
    fields >> range >> perms >> offset >> device >> inode >> path;
    const std::uint64_t start = std::stoull(range.substr(0, range.find('-')), nullptr, 16);
    const std::uint64_t end = std::stoull(range.substr(range.find('-') + 1), nullptr, 16);
    if (perms.starts_with("rw") && path.empty() && end - start >= minBytes) {
      found.push_back({start, end});
    }
  }
  return found;
}

// Sets `bit` of the word at `address` of the tool's memory unless it is set; `changed`
// tells whether it was written. False when the memory cannot be read or written.
bool Hold(int memory, std::uint64_t address, std::uint64_t bit, bool& changed) {
  std::uint64_t value = 0;
  if (pread(memory, &value, sizeof value, static_cast<off_t>(address)) != sizeof value) {
    return false;
  }
  if ((value & bit) != 0) return true;
  value |= bit;
  changed = true;
  return pwrite(memory, &value, sizeof value, static_cast<off_t>(address)) == sizeof value;
}

// One trial: seconds from the first change to the first report, or nothing when the
// tool did not get ready or report in time.
std::optional<double> RunTrial(const Tool& tool, std::uint64_t memoryBytes, std::mt19937_64& pick) {
  Child child(tool.command);
  if (child.Pid() <= 0) return std::nullopt;
  const auto readyBy = Clock::now() + kReadyTimeout;
  while (!std::regex_search(child.Output(), tool.ready)) {
    if (Clock::now() > readyBy || child.Exited()) {
      std::fprintf(stderr, "%s did not start testing:\n%s\n", tool.name.c_str(),
                   child.Output().c_str());
      return std::nullopt;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  std::this_thread::sleep_for(kSettle);

  const std::vector<Mapping> mappings = LargeMappings(child.Pid(), memoryBytes / 8);
  std::uint64_t words = 0;
  for (const Mapping& mapping : mappings) words += (mapping.end - mapping.start) / 8;
  if (words == 0) {
    std::fprintf(stderr, "%s: no test memory found in its mappings\n", tool.name.c_str());
    return std::nullopt;
  }
  std::uint64_t word = std::uniform_int_distribution<std::uint64_t>(0, words - 1)(pick);
  std::uint64_t address = 0;
  for (const Mapping& mapping : mappings) {
    const std::uint64_t count = (mapping.end - mapping.start) / 8;
    if (word < count) {
      address = mapping.start + word * 8;
      break;
    }
    word -= count;
  }
  const std::uint64_t bit = std::uint64_t{1} << std::uniform_int_distribution<int>(0, 63)(pick);

  const int memory = open(("/proc/" + std::to_string(child.Pid()) + "/mem").c_str(), O_RDWR);
  if (memory < 0) return std::nullopt;
  std::optional<Clock::time_point> firstChange;
  const auto giveUp = Clock::now() + kReportTimeout;
  std::optional<double> seconds;
  // A tool that frees its memory before it reports is watched on without the hold.
  bool holding = true;
  while (Clock::now() < giveUp) {
    bool changed = false;
    if (holding) holding = Hold(memory, address, bit, changed);
    if (changed && !firstChange) firstChange = Clock::now();
    if (firstChange && std::regex_search(child.Output(), tool.report)) {
      seconds = std::chrono::duration<double>(Clock::now() - *firstChange).count();
      break;
    }
    if (!holding && (!firstChange || child.Exited())) {
      std::fprintf(stderr, "%s: its memory went away without a report\n", tool.name.c_str());
      break;
    }
    std::this_thread::sleep_for(kHoldInterval);
  }
  close(memory);
  return seconds;
}

bool Installed(const std::string& program) {
  return std::system(("command -v " + program + " >/dev/null 2>&1").c_str()) == 0;
}

std::string CompanionPath(const char* self) {
  std::string path = self;
  path.erase(path.find_last_of('/') + 1);
  return path + "../src/cli/sieveline-cli";
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t memoryMb = 1024;
  int trials = 3;
  for (int arg = 1; arg < argc; arg += 2) {
    const std::string option = argv[arg];
    if (arg + 1 == argc) {
      std::fprintf(stderr, "usage: detection_race [--memory MB] [--trials N]\n");
      return 2;
    } else if (option == "--memory") {
      memoryMb = std::stoull(argv[arg + 1]);
    } else if (option == "--trials") {
      trials = std::stoi(argv[arg + 1]);
    } else {
      std::fprintf(stderr, "usage: detection_race [--memory MB] [--trials N]\n");
      return 2;
    }
  }
  const std::string mb = std::to_string(memoryMb);
  const std::string threads = std::to_string(std::max(1u, std::thread::hardware_concurrency()));
  const std::string companion = CompanionPath(argv[0]);

  std::vector<Tool> tools;
  for (const char* method : {"sweeping", "shuffling"}) {
    for (const std::string& count : {std::string("1"), threads}) {
      tools.push_back({std::string("sieveline-cli ") + method + " x" + count,
                       {companion, "--memory", mb, "--method", method, "--threads", count,
                        "--errors-limit", "1"},
                       std::regex("Cycles: [1-9]"),
                       std::regex("Test stopped")});
    }
  }
  if (Installed("memtester")) {
    tools.push_back({"memtester",
                     {"stdbuf", "-oL", "-eL", "memtester", mb + "M", "1"},
                     std::regex("Loop 1"),
                     std::regex("FAILURE")});
  }
  if (Installed("stressapptest")) {
    tools.push_back(
        {"stressapptest x" + threads,
         {"stdbuf", "-oL", "-eL", "stressapptest", "-M", mb, "-s", "120", "-m", threads},
         std::regex("Starting SAT"),
         std::regex("miscompare", std::regex::icase)});
  }

  std::printf("%llu MB, %d trials; seconds from the first change to the first report\n",
              static_cast<unsigned long long>(memoryMb), trials);
  std::printf("%-28s %8s   %s\n", "tool", "median", "trials");
  std::mt19937_64 pick(std::random_device{}());
  for (const Tool& tool : tools) {
    std::vector<double> times;
    std::string each;
    for (int trial = 0; trial < trials; ++trial) {
      const std::optional<double> seconds = RunTrial(tool, memoryMb << 20, pick);
      char text[32];
      std::snprintf(text, sizeof text, seconds ? "%.3f " : "-- ", seconds.value_or(0));
      each += text;
      if (seconds) times.push_back(*seconds);
    }
    std::sort(times.begin(), times.end());
    if (times.size() == static_cast<std::size_t>(trials)) {
      std::printf("%-28s %8.3f   %s\n", tool.name.c_str(), times[times.size() / 2], each.c_str());
    } else {
      std::printf("%-28s %8s   %s(-- : no report within %llds)\n", tool.name.c_str(), "--",
                  each.c_str(), static_cast<long long>(kReportTimeout.count()));
    }
    std::fflush(stdout);
  }
  return 0;
}
