#pragma once
// Turns processor faults on chosen threads into calls of a translator, on the faulting
// thread, which throws a C++ exception in their place. A fault on any other thread keeps
// the platform's default behaviour: the process ends.
//
// Where the system catches faults of its own (Windows' structured exceptions), a fault in
// system code is the system's: it is translated only when no handler of the system takes
// it, so a call that the system answers by handling its own fault returns as it would
// without the translator. A fault in the program's own code, or of its bounds check, is
// translated before any handler sees it.
//
// Code that may fault on a translated thread must be built with -fnon-call-exceptions,
// so that the faulting instruction can throw, and with unwind tables.

#include <cstdint>

#include "platform/fault_info.h"

namespace platform {

// Called on the faulting thread in the fault's place; it must throw and never return.
using FaultTranslator = void (*)(const FaultInfo& fault);

// Faults of the calling thread go to translator from now on; null stops translating
// them. Other threads are not affected.
void SetFaultTranslator(FaultTranslator translator);

// Raises the array-bounds fault (kFaultArrayBoundsExceeded) at the caller, the way a
// bounds-checking instruction would: on a translated thread it arrives at the
// translator like any other fault, elsewhere it ends the process.
[[noreturn]] void RaiseArrayBoundsFault();

}  // namespace platform
