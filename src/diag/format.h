#pragma once
// printf-style formatting with the program's own "%p": the argument is an unsigned 64-bit
// value (an address or a word of memory, passed as std::uint64_t) written as 16
// upper-case hexadecimal digits, the same on every platform.

#include <cstdarg>
#include <cstddef>
#include <string>

// Formats into buffer, at most size - 1 characters and a terminator; output that does
// not fit is cut. Returns the number of characters written.
std::size_t FormatV(char* buffer, std::size_t size, const char* format, va_list arguments);

// The whole formatted text, however long.
std::string Format(const char* format, ...);
