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

LONG CALLBACK OnException(EXCEPTION_POINTERS* exception) {
  const EXCEPTION_RECORD& record = *exception->ExceptionRecord;
  // The code first: every C++ throw passes here too, and TlsGetValue resets the last error.
  if (!IsTranslated(record.ExceptionCode) || (record.ExceptionFlags & EXCEPTION_NONCONTINUABLE) ||
      TlsGetValue(g_translatorSlot) == nullptr) {
    return EXCEPTION_CONTINUE_SEARCH;
  }

  CONTEXT& context = *exception->ContextRecord;
  context.Rcx = record.ExceptionCode;
  context.Rdx = reinterpret_cast<DWORD64>(record.ExceptionAddress);
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

void InstallHandler() {
  g_translatorSlot = TlsAlloc();
  AddVectoredExceptionHandler(1, &OnException);
}

}  // namespace

void SetFaultTranslator(FaultTranslator translator) {
  // The handler is the process's; whether a fault is translated is the thread's.
  static std::once_flag installed;
  std::call_once(installed, &InstallHandler);
  TlsSetValue(g_translatorSlot, reinterpret_cast<void*>(translator));
}

void RaiseArrayBoundsFault() {
  RaiseException(EXCEPTION_ARRAY_BOUNDS_EXCEEDED, 0, 0, nullptr);
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
