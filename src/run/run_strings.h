#pragma once
// String-table numbers of the texts that a test run shows and logs.

#include <cstdint>

namespace run_strings {

inline constexpr std::uint32_t kStart = 3006;          // "Start"
inline constexpr std::uint32_t kStop = 3007;           // "Stop"
inline constexpr std::uint32_t kInitializing = 3010;   // ": initializing..."
inline constexpr std::uint32_t kStopping = 3011;       // ": stopping..."
inline constexpr std::uint32_t kStartEntry = 5010;     // the log's start entry
inline constexpr std::uint32_t kFinishEntry = 5011;    // the log's finish entry
inline constexpr std::uint32_t kWarningEntry = 5012;   // the log's warning entry
inline constexpr std::uint32_t kCaption = 5013;        // "%s: %i errors %s"
inline constexpr std::uint32_t kTrayTip = 5014;        // the running tray tip
inline constexpr std::uint32_t kResult = 5015;         // "Test stopped (%s)..."
inline constexpr std::uint32_t kErrorEntry = 5016;     // the log's error entry
inline constexpr std::uint32_t kInvalidField = 5026;   // "Focused control has invalid value..."
inline constexpr std::uint32_t kByUser = 5101;         // "terminated by user"
inline constexpr std::uint32_t kErrorsLimit = 5102;    // "errors limit was exceeded"
inline constexpr std::uint32_t kTimeLimit = 5103;      // "time limit was exceeded"
inline constexpr std::uint32_t kUnknownReason = 5104;  // "unknown"
inline constexpr std::uint32_t kNoTestMemory = 5105;   // "test memory could not be allocated"

}  // namespace run_strings
