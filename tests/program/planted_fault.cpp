#include "planted_fault.h"

#include <vector>

#include "wait_until.h"

namespace program_driver {
namespace {

constexpr std::uint64_t kFlippedBit = std::uint64_t{1} << 17;

struct Buffers {
  std::uintptr_t a = 0;
  std::uintptr_t b = 0;
};

// Each buffer of a worker is a private committed read-write allocation of half its share.
bool FindBuffers(HANDLE process, std::uint64_t bufferBytes, Buffers& buffers, std::string& why) {
  std::vector<std::uintptr_t> found;
  MEMORY_BASIC_INFORMATION region;
  for (std::uintptr_t address = 0;
       VirtualQueryEx(process, reinterpret_cast<void*>(address), &region, sizeof region) != 0;
       address = reinterpret_cast<std::uintptr_t>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE &&
        region.Protect == PAGE_READWRITE && region.RegionSize == bufferBytes &&
        region.AllocationBase == region.BaseAddress) {
      found.push_back(reinterpret_cast<std::uintptr_t>(region.BaseAddress));
    }
  }
  why = std::to_string(found.size()) + " regions of " + std::to_string(bufferBytes) + " bytes";
  if (found.size() != 2) return false;
  buffers = {found[0], found[1]};
  return true;
}

bool Read(HANDLE process, std::uintptr_t address, void* data, std::size_t bytes) {
  SIZE_T done = 0;
  return ReadProcessMemory(process, reinterpret_cast<void*>(address), data, bytes, &done) &&
         done == bytes;
}

std::uint64_t ReadWord(HANDLE process, std::uintptr_t address) {
  std::uint64_t word = 0;
  Read(process, address, &word, sizeof word);
  return word;
}

// Both buffers read back alike only while no cycle rewrites them, that is during a pause.
bool Paused(HANDLE process, const Buffers& buffers, std::uint64_t bufferBytes) {
  std::vector<char> a(bufferBytes), b(bufferBytes);
  return Read(process, buffers.a, a.data(), bufferBytes) &&
         Read(process, buffers.b, b.data(), bufferBytes) && a == b;
}

}  // namespace

bool PlantFault(HANDLE process, std::uint64_t shareBytes, PlantedFault& planted, std::string& why) {
  const std::uint64_t bufferBytes = shareBytes / 16 * 8;
  Buffers buffers;
  if (!WaitUntil([&] { return FindBuffers(process, bufferBytes, buffers, why); })) return false;

  // A word half-way through a cycle's sweep, far from the moment the next cycle begins.
  const std::uint64_t words = bufferBytes / 8;
  const std::uintptr_t offset = (words / 2 + words / 128) * 8;
  if (!WaitUntil([&] { return Paused(process, buffers, bufferBytes); })) {
    why = "no pause between cycles seen";
    return false;
  }
  planted.first = ReadWord(process, buffers.a + offset);
  planted.second = ReadWord(process, buffers.b + offset) ^ kFlippedBit;
  SIZE_T written = 0;
  if (!WriteProcessMemory(process, reinterpret_cast<void*>(buffers.b + offset), &planted.second,
                          sizeof planted.second, &written)) {
    why = "the word could not be changed";
    return false;
  }
  // Had a cycle rewritten the word meanwhile, buffer A would no longer hold `first`.
  why = "a cycle ran while the word was changed";
  return ReadWord(process, buffers.a + offset) == planted.first &&
         ReadWord(process, buffers.b + offset) == planted.second;
}

}  // namespace program_driver
