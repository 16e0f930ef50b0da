#pragma once
// The program's application module: exactly one, `g_module`, constructed before the entry
// point. It owns the message loop and the panel for the life of Run. It is a message
// filter and an idle handler that handle nothing, and is never registered as either.
//
// Threadsafety: user-interface thread only.

#include "shell/exe_module.h"
#include "shell/exe_module_impl.h"
#include "shell/framework/idle_handler.h"
#include "shell/framework/message_filter.h"

class CExeModule : public IExeModuleImpl<CExeModule>,
                   public CMessageFilter,
                   public CIdleHandler,
                   public IExeModule {
 public:
  HRESULT Init(const char* cmdLine) override { return IExeModuleImpl::Init(cmdLine); }
  HRESULT FreeSlot1() override { return E_NOTIMPL; }
  HRESULT FreeSlot2() override { return E_NOTIMPL; }
  bool FreeSlot3() override { return true; }
  int Run(const char* cmdLine, int showCommand) override;
  bool FreeSlot5() override { return true; }
  HRESULT ShowSeverityMessage(TextRef text, int level, std::uint32_t flags) override {
    return messages.ShowSeverityMessage(text, level, flags);
  }
  HRESULT ReportModuleError(TextRef text, HRESULT hr, int level) override {
    return messages.ReportModuleError(text, hr, level);
  }
  HRESULT ReportComError(const ComError& error, void* owner) override {
    return messages.ReportComError(error, owner);
  }
  int ShowMessage(TextRef text, std::uint32_t type) override {
    return messages.ShowMessage(text, type);
  }

  bool PreTranslateMessage(MSG*) override { return false; }
  bool OnIdle() override { return false; }
};

extern CExeModule g_module;
