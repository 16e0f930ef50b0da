#pragma once
// Which Windows versions the program runs on without asking: 4.90 and everything later.

#include <cstdint>

bool IsSupportedPlatform(std::uint32_t major, std::uint32_t minor);

// The running system's version, asked the way the program always has; false when the
// system does not answer.
bool QueryPlatformVersion(std::uint32_t& major, std::uint32_t& minor);
