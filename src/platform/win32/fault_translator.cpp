#include <windows.h>

#include <cstdlib>
#include <mutex>

#include "platform/fault_translator.h"

// A translated fault does not throw from inside the exception dispatcher: the handler
// below rewrites the faulting thread's registers so that, once the dispatcher resumes
// it, the thread looks as if the faulting instruction had called SievelineFaultFrame
// with the fault in its argument registers. That frame throws, and the C++ unwinder
// walks from it into the faulting function like out of any call.
//
// SievelineFaultTrampoline pushes the return address (passed in RAX) itself, after the
// dispatcher is done with the stack below the faulting one. SievelineFaultFrame carries
// unwind information, realigns the stack (a fault in a leaf function leaves it only
// 8-byte aligned) and keeps its callee's argument home area clear of the faulting
// function's frame.
extern "C" void SievelineFaultTrampoline();
extern "C" [[noreturn]] void SievelineThrowFault(std::uint64_t code, std::uint64_t instruction,
                                                 std::uint64_t accessKind, std::uint64_t address);

asm(R"(
    .text
    .p2align 4
    .globl SievelineFaultTrampoline
    .def SievelineFaultTrampoline; .scl 2; .type 32; .endef
SievelineFaultTrampoline:
    pushq %rax
    .def SievelineFaultFrame; .scl 3; .type 32; .endef
    .seh_proc SievelineFaultFrame
SievelineFaultFrame:
    pushq %rbp
    .seh_pushreg %rbp
    movq %rsp, %rbp
    .seh_setframe %rbp, 0
    .seh_endprologue
    andq $-16, %rsp
    subq $32, %rsp
    call SievelineThrowFault
    int3
    .seh_endproc
)");

namespace platform {

namespace {

// The slot that holds each thread's translator. Unlike the compiler's thread_local,
// reading a TLS slot never allocates, so the exception handler may do it.
DWORD g_translatorSlot = TLS_OUT_OF_INDEXES;

// The program's own image: the module this translator is linked into. Only a fault of
// an instruction in it is the program's own at first chance; system code raises and
// handles faults of its own, and those stay the system's.
std::uintptr_t g_imageStart = 0;
std::uintptr_t g_imageEnd = 0;

// The second parameter of the array-bounds fault that RaiseArrayBoundsFault raises:
// RaiseException raises it inside the system, and this address, unique to the image, tells
// it from the system's. The first parameter is the address of the bounds check that failed.
ULONG_PTR BoundsCheckMarker() {
  return reinterpret_cast<ULONG_PTR>(&g_imageStart);
}

LPTOP_LEVEL_EXCEPTION_FILTER g_previousFilter = nullptr;

// The processor faults that become exceptions. Breakpoints and single steps belong to
// debuggers; a stack overflow leaves no stack to throw on; the dispatcher's own failures
// cannot be continued.
bool IsTranslated(DWORD code) {
  switch (code) {
    case EXCEPTION_ACCESS_VIOLATION:
    case EXCEPTION_ARRAY_BOUNDS_EXCEEDED:
    case EXCEPTION_DATATYPE_MISALIGNMENT:
    case EXCEPTION_FLT_DENORMAL_OPERAND:
    case EXCEPTION_FLT_DIVIDE_BY_ZERO:
    case EXCEPTION_FLT_INEXACT_RESULT:
    case EXCEPTION_FLT_INVALID_OPERATION:
    case EXCEPTION_FLT_OVERFLOW:
    case EXCEPTION_FLT_STACK_CHECK:
    case EXCEPTION_FLT_UNDERFLOW:
    case EXCEPTION_ILLEGAL_INSTRUCTION:
    case EXCEPTION_IN_PAGE_ERROR:
    case EXCEPTION_INT_DIVIDE_BY_ZERO:
    case EXCEPTION_INT_OVERFLOW:
    case EXCEPTION_PRIV_INSTRUCTION:
      return true;
    default:
      return false;
  }
}

bool IsBoundsCheck(const EXCEPTION_RECORD& record) {
  return record.ExceptionCode == EXCEPTION_ARRAY_BOUNDS_EXCEEDED && record.NumberParameters == 2 &&
         record.ExceptionInformation[1] == BoundsCheckMarker();
}

bool InOwnImage(const void* address) {
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  return at >= g_imageStart && at < g_imageEnd;
}

// Whether the fault is one to translate on this thread at all.
bool IsTranslatable(const EXCEPTION_RECORD& record) {
  // The code first: every C++ throw passes here too, and TlsGetValue resets the last error.
  return IsTranslated(record.ExceptionCode) &&
         !(record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) &&
         TlsGetValue(g_translatorSlot) != nullptr;
}

// Resumes the faulting thread in SievelineFaultFrame, which throws the fault.
LONG ThrowFromFault(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  CONTEXT& context = *exception->ContextRecord;
  context.Rcx = record.ExceptionCode;
  context.Rdx = IsBoundsCheck(record) ? record.ExceptionInformation[0]
                                      : reinterpret_cast<DWORD64>(record.ExceptionAddress);
  context.R8 = kAccessRead;
  context.R9 = 0;
  if (record.ExceptionCode == EXCEPTION_ACCESS_VIOLATION && record.NumberParameters >= 2) {
    context.R8 = record.ExceptionInformation[0];
    context.R9 = record.ExceptionInformation[1];
  }
  // One past the start of the faulting instruction: unwinders look up a return address
  // less one, which then lies on the faulting instruction, inside its exception region.
  context.Rax = context.Rip + 1;
  context.Rip = reinterpret_cast<DWORD64>(&SievelineFaultTrampoline);
  return EXCEPTION_CONTINUE_EXECUTION;
}

// First chance: the program's own faults, before any handler of the system sees them.
LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  if (!IsTranslatable(record) || !(InOwnImage(record.ExceptionAddress) || IsBoundsCheck(record))) {
    return EXCEPTION_CONTINUE_SEARCH;
  }
  return ThrowFromFault(exception);
}

// Last chance: a fault in system code that no handler took. On a translated thread it is
// thrown from where it happened all the same, so that it ends in the program's report.
LONG CALLBACK OnUnhandledException(EXCEPTION_POINTERS* exception) {
  if (IsTranslatable(*exception->ExceptionRecord)) return ThrowFromFault(exception);
  return g_previousFilter != nullptr ? g_previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

void InstallHandler() {
  HMODULE image = nullptr;
  GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCSTR>(&InstallHandler), &image);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(image);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(reinterpret_cast<const BYTE*>(image) +
                                                             dos->e_lfanew);
  g_imageStart = reinterpret_cast<std::uintptr_t>(image);
  g_imageEnd = g_imageStart + nt->OptionalHeader.SizeOfImage;

  g_translatorSlot = TlsAlloc();
  AddVectoredExceptionHandler(1, &OnException);
  g_previousFilter = SetUnhandledExceptionFilter(&OnUnhandledException);
}

}  // namespace

void SetFaultTranslator(FaultTranslator translator) {
  // The handlers are the process's; whether a fault is translated is the thread's.
  static std::once_flag installed;
  std::call_once(installed, &InstallHandler);
  TlsSetValue(g_translatorSlot, reinterpret_cast<void*>(translator));
}

[[gnu::noinline]] void RaiseArrayBoundsFault() {
  const ULONG_PTR parameters[] = {
      reinterpret_cast<ULONG_PTR>(__builtin_extract_return_addr(__builtin_return_address(0))),
      BoundsCheckMarker()};
  RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, 0, 2, parameters);
  // Only a debugger goes on after an untranslated fault; there is nothing to go back to.
  std::abort();
}

}  // namespace platform

extern "C" void SievelineThrowFault(std::uint64_t code, std::uint64_t instruction,
                                    std::uint64_t accessKind, std::uint64_t address) {
  using namespace platform;
  FaultInfo fault;
  fault.code = static_cast<std::uint32_t>(code);
  fault.instructionAddress = instruction;
  fault.accessKind = static_cast<std::uint32_t>(accessKind);
  fault.inaccessibleAddress = address;
  reinterpret_cast<FaultTranslator>(TlsGetValue(g_translatorSlot))(fault);
  std::abort();
}
