#pragma once
// The program's exceptions. They are thrown as pointers, to a heap object or to one of
// three static objects, and caught as QV::CException*:
//
//   try {
//     ...
//   } catch (QV::CException* exception) {
//     exception->ReportError("Application will be terminated.\n", 0);
//     if (!exception->isStatic) delete exception;
//   }
//
// The objects are used on the thread that throws them. The static ones are shared:
// throwing one resets its location without a lock.

#include <cstdint>
#include <optional>

#include "platform/fault_info.h"
#include "platform/hresult.h"

namespace QV {

class CException {
 public:
  explicit CException(std::uint32_t code) : CException(false, code) {}
  CException(bool isStatic, std::uint32_t code) : isStatic(isStatic), code(code) {}
  CException(const CException&) = delete;
  CException& operator=(const CException&) = delete;
  virtual ~CException() = default;

  // Writes the text for code into buffer, which holds maxChars characters with the
  // terminator, and returns its length: the system's message when it has one that
  // fits, otherwise the program's own fault text or "Unknown HRESULT = %08X\n", then the
  // faulting instruction's address when there is fault information and room. Except
  // for a system message, it clears the source location.
  virtual std::uint32_t GetErrorMessage(char* buffer, std::uint32_t maxChars);

  // Shows the error (after text, in the second form) with its source location in a box
  // captioned "QV exception" with style mbType, and returns the box's answer. A Yes/No
  // box asks "Continue?".
  virtual int ReportError(std::uint32_t mbType);
  virtual int ReportError(const char* text, std::uint32_t mbType);

  // Records where the exception was thrown; file is not copied and must outlive it.
  void SetLocation(const char* file, int line) {
    sourceFile = file;
    sourceLine = line;
  }

  bool isStatic;
  // An HRESULT, or a platform fault code such as 0xC0000005.
  std::uint32_t code;
  const char* sourceFile = nullptr;
  std::int32_t sourceLine = -1;
  // Only for faults: a copy of what the platform told, kept for the object's whole life.
  std::optional<platform::FaultInfo> faultInfo;
};

// A processor fault, made by the fault translator.
class CRunTimeException : public CException {
 public:
  explicit CRunTimeException(const platform::FaultInfo& fault) : CException(fault.code) {
    faultInfo = fault;
  }
};

// The static object thrown when memory runs out (E_OUTOFMEMORY).
class CMemoryException : public CException {
 public:
  CMemoryException() : CException(true, 0x8007000Eu) {}
};

// The static object thrown when system resources run out (Win32 error 1450).
class CResourceException : public CException {
 public:
  CResourceException() : CException(true, 0x800705AAu) {}
};

// The static object thrown by what is not implemented (E_NOTIMPL).
class CNotImplementedException : public CException {
 public:
  CNotImplementedException() : CException(true, 0x80004001u) {}
};

// Each throws a new QV::CException, or the static CMemoryException when there is no
// memory for one.
[[noreturn]] void ThrowException(HRESULT hr);
// A Win32 error (0 or more) becomes its HRESULT, 0 included, so that what is thrown
// never reads as success; a negative value is taken as an HRESULT already.
[[noreturn]] void ThrowWin32Error(std::int32_t error);

// Each throws its static object, with the location reset.
[[noreturn]] void ThrowMemoryException();
[[noreturn]] void ThrowResourceException();
[[noreturn]] void ThrowNotImplementedException();

// The fault translator of the user-interface thread (installed by InitTools): throws a
// new CRunTimeException for the fault.
[[noreturn]] void TranslateFault(const platform::FaultInfo& fault);

}  // namespace QV
