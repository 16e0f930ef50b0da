#pragma once
// A text argument of the module's message operations and of AppendLog: either the number
// of a string-table entry (a value below 0x10000) or a pointer to the text itself, the
// way Windows resource functions take MAKEINTRESOURCE values.

#include <cstdint>
#include <string>

using TextRef = const char*;

// The reference to string-table entry `number`.
inline TextRef TextId(std::uint32_t number) {
  return reinterpret_cast<TextRef>(static_cast<std::uintptr_t>(number));
}

inline bool IsTextId(TextRef text) {
  return reinterpret_cast<std::uintptr_t>(text) < 0x10000;
}

// The text itself: the string-table entry's (empty when there is none), the pointer's,
// or empty for a null reference.
std::string ResolveText(TextRef text);
