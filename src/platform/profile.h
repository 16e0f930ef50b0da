#pragma once
// Keys of an INI profile file: "[section]" lines, each followed by "key=value" lines.
// Section and key names match without regard to case, with blanks around them and
// around "=" ignored; the first section of a name and its first key of a name count.
// On Windows these are the system's own profile functions; elsewhere a reader and
// writer that behave the same way and also end lines with CR LF, so a file reads and
// changes alike whichever build touches it.

#include <cstdint>
#include <string>

namespace platform {

// What GetPrivateProfileIntA returns: `fallback` when the file, the section or the key is
// missing or the value is empty; otherwise the value's number as 32 bits, after an
// optional sign and a base prefix ("0x", "0o", "0b"), up to the first character that is
// not a digit. A negative number comes back as its two's complement ("-1" as
// 0xFFFFFFFF), a number too large as its low 32 bits.
std::uint32_t ReadProfileInt(const std::string& path, const char* section, const char* key,
                             std::uint32_t fallback);

// Sets `key` of `section` to `value`, creating the file, the section (at the end of the
// file) and the key (after the last line of its section) as needed; every other line
// of the file stays. (Wine rewrites the whole file tidied: blank lines dropped, blanks
// around names and values trimmed.) False when the file cannot be read or written.
bool WriteProfileText(const std::string& path, const char* section, const char* key,
                      const char* value);

}  // namespace platform
