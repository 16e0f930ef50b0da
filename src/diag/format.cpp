#include "diag/format.h"

#include <cinttypes>
#include <cstdio>
#include <vector>

namespace {

// The format with every "%p" (not "%%p") turned into the directive for 16 upper-case
// hexadecimal digits of an unsigned 64-bit value.
std::string PortableFormat(const char* format) {
  std::string converted;
  for (const char* c = format; *c; ++c) {
    if (c[0] == '%' && c[1] == '%') {
      converted += "%%";
      ++c;
    } else if (c[0] == '%' && c[1] == 'p') {
      converted += "%016" PRIX64;
      ++c;
    } else {
      converted += *c;
    }
  }
  return converted;
}

}  // namespace

std::size_t FormatV(char* buffer, std::size_t size, const char* format, va_list arguments) {
  if (size == 0) return 0;
  const int length = std::vsnprintf(buffer, size, PortableFormat(format).c_str(), arguments);
  if (length < 0) {
    buffer[0] = '\0';
    return 0;
  }
  return static_cast<std::size_t>(length) < size ? static_cast<std::size_t>(length) : size - 1;
}

std::string Format(const char* format, ...) {
  const std::string portable = PortableFormat(format);
  va_list arguments;
  va_start(arguments, format);
  va_list measure;
  va_copy(measure, arguments);
  const int length = std::vsnprintf(nullptr, 0, portable.c_str(), measure);
  va_end(measure);
  std::string text;
  if (length > 0) {
    std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(buffer.data(), buffer.size(), portable.c_str(), arguments);
    text.assign(buffer.data(), static_cast<std::size_t>(length));
  }
  va_end(arguments);
  return text;
}
