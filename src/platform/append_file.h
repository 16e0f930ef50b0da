#pragma once
// Appending to a text file that nobody else may use while it is open.

#include <cstddef>

namespace platform {

// Opens `path` for appending (creating it when missing) without sharing it, writes the
// bytes and closes it again. False when the file cannot be opened (missing folder, no
// rights, another writer holds it) or the write fails.
bool AppendToFile(const char* path, const char* bytes, std::size_t size);

}  // namespace platform
