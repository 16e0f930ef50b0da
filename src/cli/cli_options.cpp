#include "cli/cli_options.h"

#include <charconv>
#include <limits>

namespace {

constexpr const char* kMethods[] = {"random", "shuffling", "sweeping"};
constexpr const char* kPriorities[] = {"normal", "above", "high"};

// A decimal number without sign or spaces, within low .. high.
bool ParseNumber(const std::string& text, std::uint64_t low, std::uint64_t high,
                 std::uint64_t& value) {
  if (text.empty() || text[0] < '0' || text[0] > '9') return false;
  const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
  return fault == std::errc{} && end == text.data() + text.size() && value >= low && value <= high;
}

// A number of seconds, minutes or hours: "90s", "15m", "8h"; at least one second.
bool ParseDuration(const std::string& text, std::uint64_t& seconds) {
  if (text.size() < 2) return false;
  std::uint64_t unit = 0;
  switch (text.back()) {
    case 's':
      unit = 1;
      break;
    case 'm':
      unit = 60;
      break;
    case 'h':
      unit = 3600;
      break;
    default:
      return false;
  }
  std::uint64_t count = 0;
  // Up to ten years, far from any overflow of the run's clock.
  if (!ParseNumber(text.substr(0, text.size() - 1), 1, 315'360'000 / unit, count)) return false;
  seconds = count * unit;
  return true;
}

template <std::size_t N>
bool ParseWord(const std::string& text, const char* const (&words)[N], std::uint32_t& index) {
  for (std::size_t i = 0; i < N; ++i) {
    if (text == words[i]) {
      index = static_cast<std::uint32_t>(i);
      return true;
    }
  }
  return false;
}

}  // namespace

const char* MethodName(std::uint32_t methodIndex) {
  return kMethods[methodIndex];
}

const char* PriorityName(std::uint32_t priorityIndex) {
  return kPriorities[priorityIndex];
}

bool ParseCliOptions(const std::vector<std::string>& args, const CliLimits& limits,
                     CliOptions& options, std::string& error) {
  constexpr std::uint64_t kMax32 = std::numeric_limits<std::uint32_t>::max();
  bool memoryGiven = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& option = args[i];
    if (option == "--help") {
      options.help = true;
      return true;
    }
    if (option == "--version") {
      options.version = true;
      return true;
    }
    if (option == "--high-memory") {
      options.highMemory = true;
      continue;
    }
    if (option == "--quiet") {
      options.quiet = true;
      continue;
    }

    const auto fail = [&](const std::string& expected) {
      error = option + ": " + expected;
      return false;
    };
    const bool known = option == "--memory" || option == "--method" || option == "--threads" ||
                       option == "--priority" || option == "--delay" ||
                       option == "--errors-limit" || option == "--time-limit" ||
                       option == "--cycles" || option == "--log" || option == "--json";
    if (!known) {
      error = option + ": unknown option (see --help)";
      return false;
    }
    if (i + 1 == args.size()) return fail("a value is missing");
    const std::string& value = args[++i];
    const auto badValue = [&](const std::string& expected) {
      return fail("'" + value + "' is not " + expected);
    };
    std::uint64_t number = 0;
    if (option == "--memory") {
      if (limits.availableMb < 16) return fail("less than 16 MB of memory is available");
      if (!ParseNumber(value, 16, limits.availableMb, number)) {
        return badValue("a number of MB from 16 to " + std::to_string(limits.availableMb));
      }
      options.memoryMb = static_cast<std::uint32_t>(number);
      memoryGiven = true;
    } else if (option == "--method") {
      if (!ParseWord(value, kMethods, options.methodIndex)) {
        return badValue("random, shuffling or sweeping");
      }
    } else if (option == "--threads") {
      if (!ParseNumber(value, 1, limits.processors, number)) {
        return badValue("a number from 1 to " + std::to_string(limits.processors));
      }
      options.threads = static_cast<std::uint32_t>(number);
    } else if (option == "--priority") {
      if (!ParseWord(value, kPriorities, options.priorityIndex)) {
        return badValue("normal, above or high");
      }
    } else if (option == "--delay" || option == "--errors-limit") {
      if (!ParseNumber(value, 0, kMax32, number)) return badValue("a number from 0 to 4294967295");
      (option == "--delay" ? options.delayMs : options.errorsLimit) =
          static_cast<std::uint32_t>(number);
    } else if (option == "--time-limit") {
      if (!ParseDuration(value, options.timeLimitSeconds)) {
        return badValue("a duration such as 90s, 15m or 8h");
      }
    } else if (option == "--cycles") {
      if (!ParseNumber(value, 1, kMax32 >> 1, number))
        return badValue("a number from 1 to 2147483647");
      options.cycles = number;
    } else if (value.empty()) {
      return fail("the file name is empty");
    } else {
      (option == "--log" ? options.logPath : options.jsonPath) = value;
    }
  }
  if (!memoryGiven) {
    if (limits.availableMb < 16) {
      error = "--memory: less than 16 MB of memory is available";
      return false;
    }
    options.memoryMb = limits.availableMb;
  }
  return true;
}

std::string CliUsage() {
  return "Usage: sieveline-cli [options]\n"
         "Runs one memory test in the console and exits.\n"
         "\n"
         "  --memory MB            memory to test, 16 to the available (default: available)\n"
         "  --method random|shuffling|sweeping\n"
         "                         testing method (default: random); sweeping goes\n"
         "                         through memory in address order at bus speed\n"
         "  --threads N            work threads, 1 to the logical processors (default: 1);\n"
         "                         each tests memory / N\n"
         "  --priority normal|above|high\n"
         "                         process priority (default: normal)\n"
         "  --high-memory          place the test memory high in the address space\n"
         "  --delay MS             pause after each cycle (default: 0)\n"
         "  --errors-limit N       stop after N errors; 0 is none (default: 0)\n"
         "  --time-limit DURATION  stop after 90s, 15m, 8h, ... (default: none)\n"
         "  --cycles N             stop once N cycles have ended (default: none)\n"
         "  --log FILE             write the test log to FILE (created anew)\n"
         "  --json FILE            write the result as JSON to FILE; - is standard output\n"
         "  --quiet                no status line\n"
         "  --help                 this text\n"
         "  --version              the program's version\n"
         "\n"
         "Exit codes: 0 no error found, 1 errors found, 2 invalid arguments,\n"
         "3 no worker could get its test memory, 4 any other failure.\n";
}
