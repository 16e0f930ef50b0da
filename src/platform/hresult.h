#pragma once
// HRESULT, the 32-bit status code of the program's operations: negative means failure.
// The type matches the Windows headers' own (LONG on Windows), so the shell can include
// both; the constants are defined only where those headers have not defined them as macros.

#include <cstdint>

#if defined(_WIN32)
using HRESULT = long;
#else
using HRESULT = std::int32_t;
#endif
static_assert(sizeof(HRESULT) == 4);

#ifndef S_OK
inline constexpr HRESULT S_OK = 0;
inline constexpr HRESULT S_FALSE = 1;
inline constexpr HRESULT E_NOTIMPL = static_cast<HRESULT>(0x80004001u);
inline constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
inline constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
inline constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
#endif

// A failed system call's error as an HRESULT. Unlike the Windows macro it maps every
// error, 0 included, to a failure: a call that failed must never read as success.
constexpr HRESULT HResultFromWin32(std::uint32_t error) {
  return static_cast<HRESULT>(0x80070000u | (error & 0xFFFFu));
}

constexpr bool Failed(HRESULT result) {
  return result < 0;
}
