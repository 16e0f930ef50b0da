// sieveline-cli: one memory test in the console, for scripts and unattended runs.

#include <cstdio>
#include <string>
#include <vector>

#include "cli/cli_options.h"
#include "cli/console_run.h"
#include "diag/physical_memory.h"
#include "platform/console.h"

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
  const CliLimits limits{GetPhysicalMemoryMb(), platform::LogicalProcessorCount()};
  CliOptions options;
  std::string error;
  if (!ParseCliOptions(args, limits, options, error)) {
    std::fprintf(stderr, "sieveline-cli: %s\n", error.c_str());
    return kExitInvalidArguments;
  }
  if (options.help) {
    std::fputs(CliUsage().c_str(), stdout);
    return kExitNoErrors;
  }
  if (options.version) {
    std::printf("sieveline-cli %s\n", SIEVELINE_VERSION);
    return kExitNoErrors;
  }
  return RunInConsole(options, limits.availableMb, SIEVELINE_VERSION);
}
