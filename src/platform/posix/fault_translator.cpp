#include "platform/fault_translator.h"

#include <signal.h>
#include <ucontext.h>

#include <cstdlib>
#include <iterator>
#include <mutex>

namespace platform {

namespace {

thread_local FaultTranslator t_translator = nullptr;

constexpr int kFaultSignals[] = {SIGSEGV, SIGBUS, SIGFPE, SIGILL};
struct sigaction g_previousActions[std::size(kFaultSignals)];

struct sigaction& PreviousAction(int signal) {
  std::size_t index = 0;
  while (kFaultSignals[index] != signal) ++index;
  return g_previousActions[index];
}

// The Windows exception code of a fault, from its signal and the kernel's reason.
std::uint32_t FaultCode(int signal, int reason) {
  if (signal == SIGSEGV) return kFaultAccessViolation;
  // A page that cannot be brought in, such as one of a mapped file past its end.
  if (signal == SIGBUS) return 0xC0000006u;
  if (signal == SIGILL) return reason == ILL_PRVOPC ? 0xC0000096u : 0xC000001Du;
  switch (reason) {
    case FPE_INTDIV:
      return 0xC0000094u;
    case FPE_INTOVF:
      return 0xC0000095u;
    case FPE_FLTDIV:
      return 0xC000008Eu;
    case FPE_FLTOVF:
      return 0xC0000091u;
    case FPE_FLTUND:
      return 0xC0000093u;
    case FPE_FLTRES:
      return 0xC000008Fu;
    default:
      return 0xC0000090u;  // any other floating-point fault
  }
}

void OnFault(int signal, siginfo_t* info, void* context) {
  const FaultTranslator translator = t_translator;
  // A positive reason means the processor raised the signal, not kill() or raise().
  if (translator == nullptr || info->si_code <= 0) {
    // Not ours: give the signal back to the action that was there before, which is what
    // happens to it next. A fault repeats its instruction when we return; a sent signal
    // has to be sent again.
    sigaction(signal, &PreviousAction(signal), nullptr);
    if (info->si_code <= 0) raise(signal);
    return;
  }

  const mcontext_t& registers = static_cast<ucontext_t*>(context)->uc_mcontext;
  FaultInfo fault;
  fault.code = FaultCode(signal, info->si_code);
  fault.instructionAddress = static_cast<std::uint64_t>(registers.gregs[REG_RIP]);
  if (signal == SIGSEGV) {
    // The page-fault error code: bit 1 is set for a write, bit 4 for an instruction fetch.
    const auto error = static_cast<std::uint64_t>(registers.gregs[REG_ERR]);
    fault.accessKind = (error & 0x10) ? kAccessExecute : (error & 0x2) ? kAccessWrite : kAccessRead;
    fault.inaccessibleAddress = reinterpret_cast<std::uintptr_t>(info->si_addr);
  }
  // Throws through the signal frame into the faulting code. SA_NODEFER keeps the signal
  // unblocked, since the handler never returns to have the mask restored.
  translator(fault);
}

void InstallHandlers() {
  struct sigaction action {};
  action.sa_sigaction = &OnFault;
  action.sa_flags = SA_SIGINFO | SA_NODEFER;
  sigemptyset(&action.sa_mask);
  for (std::size_t i = 0; i < std::size(kFaultSignals); ++i) {
    sigaction(kFaultSignals[i], &action, &g_previousActions[i]);
  }
}

}  // namespace

void SetFaultTranslator(FaultTranslator translator) {
  // The handlers are the process's; whether a fault is translated is the thread's.
  static std::once_flag installed;
  if (translator != nullptr) std::call_once(installed, &InstallHandlers);
  t_translator = translator;
}

[[gnu::noinline]] void RaiseArrayBoundsFault() {
  FaultInfo fault;
  fault.code = kFaultArrayBoundsExceeded;
  fault.instructionAddress =
      reinterpret_cast<std::uintptr_t>(__builtin_extract_return_addr(__builtin_return_address(0)));
  if (const FaultTranslator translator = t_translator) translator(fault);
  // Like any fault nobody translates, it ends the process.
  std::abort();
}

}  // namespace platform
