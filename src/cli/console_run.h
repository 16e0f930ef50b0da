#pragma once
// One memory test in the console, from start to result: the console companion's front
// end over the shared test run.
//
// Threadsafety: the main thread only.

#include <string>

#include "cli/cli_options.h"

// The process exit codes.
inline constexpr int kExitNoErrors = 0;
inline constexpr int kExitErrorsFound = 1;
inline constexpr int kExitInvalidArguments = 2;
inline constexpr int kExitNoTestMemory = 3;
inline constexpr int kExitFailure = 4;

// Runs the test that `options` ask for until a limit or the console's stop request ends
// it; logs it, prints its summary and writes its JSON. `availableMb` is the available
// memory measured when the options were checked. Returns the exit code.
int RunInConsole(const CliOptions& options, std::uint32_t availableMb, const std::string& version);
