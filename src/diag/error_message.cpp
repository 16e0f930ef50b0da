// The error texts of the program's exceptions.

#include <algorithm>
#include <cstdarg>
#include <cstring>
#include <string>

#include "diag/exception.h"
#include "diag/format.h"
#include "platform/system_message.h"

namespace QV {

namespace {

struct FaultText {
  std::uint32_t code;
  const char* text;
};

// Texts of the processor faults, for codes the system's catalogue does not know.
constexpr FaultText kFaultTexts[] = {
    {0xC0000005u,
     "The thread tried to %s a virtual address %p for which it does not have the appropriate "
     "access."},
    {0xC000008Cu, "The thread tried to access an array element that is out of bounds."},
    {0x80000003u, "A breakpoint was encountered."},
    {0x80000002u, "The thread tried to read or write data that is misaligned."},
    {0xC000008Du, "One of the operands in a floating-point operation is denormal."},
    {0xC000008Eu,
     "The thread tried to divide a floating-point value by a floating-point divisor of zero."},
    {0xC000008Fu,
     "The result of a floating-point operation cannot be represented exactly as a decimal "
     "fraction."},
    {0xC0000090u,
     "This exception represents any floating-point exception not included in this list."},
    {0xC0000091u,
     "The exponent of a floating-point operation is greater than the magnitude allowed by the "
     "corresponding type."},
    {0xC0000092u,
     "The stack overflowed or underflowed as the result of a floating-point operation."},
    {0xC0000093u,
     "The exponent of a floating-point operation is less than the magnitude allowed by the "
     "corresponding type."},
    {0xC000001Du, "The thread tried to execute an invalid instruction."},
    {0xC0000006u,
     "The thread tried to access a page that was not present, and the system was unable to load "
     "the page."},
    {0xC0000094u, "The thread tried to divide an integer value by an integer divisor of zero."},
    {0xC0000095u,
     "The result of an integer operation caused a carry out of the most significant bit of the "
     "result."},
    {0xC0000026u,
     "An exception handler returned an invalid disposition to the exception dispatcher."},
    {0xC0000025u,
     "The thread tried to continue execution after a noncontinuable exception occurred."},
    {0xC0000096u,
     "The thread tried to execute an instruction whose operation is not allowed in the current "
     "machine mode."},
    {0x80000004u,
     "A trace trap or other single-instruction mechanism signaled that one instruction has been "
     "executed."},
    {0xC00000FDu, "The thread used up its stack."},
};

const char* FindFaultText(std::uint32_t code) {
  for (const FaultText& entry : kFaultTexts) {
    if (entry.code == code) return entry.text;
  }
  return nullptr;
}

// Copies text into buffer, cut to fit size characters with the terminator.
std::uint32_t CopyInto(char* buffer, std::uint32_t size, const char* text) {
  if (size == 0) return 0;
  const std::size_t length = std::min<std::size_t>(std::strlen(text), size - 1);
  std::memcpy(buffer, text, length);
  buffer[length] = '\0';
  return static_cast<std::uint32_t>(length);
}

std::uint32_t FormatInto(char* buffer, std::uint32_t size, const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  const std::size_t length = FormatV(buffer, size, format, arguments);
  va_end(arguments);
  return static_cast<std::uint32_t>(length);
}

}  // namespace

std::uint32_t CException::GetErrorMessage(char* buffer, std::uint32_t maxChars) {
  std::string system;
  if (platform::SystemMessageText(code, system) && system.size() < maxChars) {
    return CopyInto(buffer, maxChars, system.c_str());
  }

  std::uint32_t length = 0;
  if (code == platform::kFaultAccessViolation) {
    // Made by hand rather than by the translator, it says nothing of the access.
    const platform::FaultInfo access = faultInfo.value_or(platform::FaultInfo{});
    length = FormatInto(buffer, maxChars, FindFaultText(code),
                        access.accessKind != platform::kAccessRead ? "write to" : "read from",
                        access.inaccessibleAddress);
  } else if (const char* text = FindFaultText(code)) {
    length = CopyInto(buffer, maxChars, text);
  } else if (maxChars >= 32) {
    length = FormatInto(buffer, maxChars, "Unknown HRESULT = %08X\n", code);
  } else {
    length = CopyInto(buffer, maxChars, "");
  }

  // The line is longer than the room asked for, so it too is cut to fit.
  if (faultInfo && maxChars >= length + 32) {
    length += FormatInto(buffer + length, maxChars - length, "\nException occurred at %p\n",
                         faultInfo->instructionAddress);
  }

  sourceFile = nullptr;
  sourceLine = -1;
  return length;
}

}  // namespace QV
