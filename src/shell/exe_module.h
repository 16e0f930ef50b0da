#pragma once
// The application module's interface. Its slots keep the order and numbers that other
// builds of the program rely on, the free ones included; those are never called.
//
// Threadsafety: user-interface thread only.

#include <cstdint>

#include "diag/module_messages.h"
#include "diag/text.h"
#include "platform/hresult.h"

class IExeModule {
 public:
  // Chooses and loads the language module and makes the program's folder current. The
  // command line is accepted and not interpreted. Always S_OK.
  virtual HRESULT Init(const char* cmdLine) = 0;
  virtual HRESULT FreeSlot1() = 0;  // E_NOTIMPL
  virtual HRESULT FreeSlot2() = 0;  // E_NOTIMPL
  virtual bool FreeSlot3() = 0;     // true
  // Creates the panel and runs the message loop; returns the process exit code.
  virtual int Run(const char* cmdLine, int showCommand) = 0;
  virtual bool FreeSlot5() = 0;  // true
  virtual HRESULT ShowSeverityMessage(TextRef text, int level, std::uint32_t flags) = 0;
  virtual HRESULT ReportModuleError(TextRef text, HRESULT hr, int level) = 0;
  virtual HRESULT ReportComError(const ComError& error, void* owner) = 0;
  // The warning box; see CModuleMessages::ShowMessage.
  virtual int ShowMessage(TextRef text, std::uint32_t type) = 0;

 protected:
  ~IExeModule() = default;
};
