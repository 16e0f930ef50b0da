#pragma once
// Physical memory in megabytes (units of 2^20 bytes), by the one rule that every screen
// and check of the program uses: the total is rounded by adding a megabyte before
// truncating, so a machine whose firmware keeps a little memory back still shows its
// full size; the available amount is truncated, so it is never overstated.

#include <cstdint>

#include "platform/memory_status.h"

// The available memory of `status` in MB; its total in MB goes to `total` when given.
std::uint32_t PhysicalMemoryMb(const platform::MemoryStatus& status,
                               std::uint32_t* total = nullptr);

// The same for the machine now. Any thread; keeps no state.
std::uint32_t GetPhysicalMemoryMb(std::uint32_t* total = nullptr);
