// The message loop and the module's loop map, on a hidden window of the test's own thread.

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "shell/framework/app_message_loop.h"
#include "shell/framework/app_module.h"

namespace {

struct Filter : CMessageFilter {
  Filter(std::string name, std::string& log, bool takes)
      : name(std::move(name)), log(log), takes(takes) {}
  bool PreTranslateMessage(MSG*) override {
    log += name;
    return takes;
  }
  std::string name;
  std::string& log;
  bool takes;
};

struct Handler : CIdleHandler {
  explicit Handler(std::function<bool()> onIdle) : onIdle(std::move(onIdle)) {}
  bool OnIdle() override { return onIdle(); }
  std::function<bool()> onIdle;
};

// Counts what reaches the window procedure, which a filter that takes a message prevents.
int g_dispatched = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_APP) ++g_dispatched;
  return DefWindowProcA(window, message, wParam, lParam);
}

HWND HiddenWindow() {
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = CountingProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "SievelineLoopTest";
  RegisterClassA(&windowClass);
  return CreateWindowExA(0, "SievelineLoopTest", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr, nullptr,
                         windowClass.hInstance, nullptr);
}

TEST(MessageLoop, FiltersAreOfferedLastToFirstAndIdleHandlersFirstToLast) {
  CAppMessageLoop loop;
  std::string log;
  Filter first("1", log, false), second("2", log, true), third("3", log, false);
  loop.AddMessageFilter(&first);
  loop.AddMessageFilter(&second);
  loop.AddMessageFilter(&third);
  MSG msg{};
  EXPECT_TRUE(loop.PreTranslateMessage(&msg));
  EXPECT_EQ(log, "32") << "the first filter that takes the message ends the offer";
  loop.RemoveMessageFilter(&second);
  log.clear();
  EXPECT_FALSE(loop.PreTranslateMessage(&msg));
  EXPECT_EQ(log, "31");

  EXPECT_TRUE(loop.OnIdle(0)) << "no handler is no reason to stop";
  log.clear();
  Handler a([&] { return log += "a", true; });
  Handler b([&] { return log += "b", false; });
  Handler c([&] { return log += "c", true; });
  loop.AddIdleHandler(&a);
  loop.AddIdleHandler(&b);
  loop.AddIdleHandler(&c);
  EXPECT_FALSE(loop.OnIdle(0));
  EXPECT_EQ(log, "ab");
  loop.RemoveIdleHandler(&b);
  EXPECT_TRUE(loop.OnIdle(0));
  EXPECT_EQ(log, "abac");
}

// Each idle call posts the next message of the script; the idle counts seen show after which
// messages idle processing started again from 0.
TEST(MessageLoop, IdleRestartsAfterOrdinaryMessagesOnlyAndRunReturnsTheQuitCode) {
  const HWND window = HiddenWindow();
  ASSERT_NE(window, nullptr);
  struct CountingLoop : CAppMessageLoop {
    bool OnIdle(int idleCount) override {
      counts.push_back(idleCount);
      return CAppMessageLoop::OnIdle(idleCount);
    }
    std::vector<int> counts;
  } loop;

  const UINT script[] = {WM_APP, WM_MOUSEMOVE, WM_PAINT, 0x118, WM_NCMOUSEMOVE, WM_APP};
  std::size_t next = 0;
  Handler driver([&] {
    if (next < std::size(script)) {
      PostMessageA(window, script[next++], 0, 0);
    } else {
      PostQuitMessage(57665);
    }
    return true;
  });
  loop.AddIdleHandler(&driver);
  // Takes only the system timer message, so a test never dispatches it.
  struct TimerFilter : CMessageFilter {
    bool PreTranslateMessage(MSG* msg) override { return msg->message == 0x118; }
  } timerFilter;
  loop.AddMessageFilter(&timerFilter);

  g_dispatched = 0;
  EXPECT_EQ(loop.Run(), 57665);
  EXPECT_EQ(loop.counts, (std::vector<int>{0, 0, 1, 2, 3, 4, 0}));
  EXPECT_EQ(g_dispatched, 2);

  // A filter that takes a message keeps it from the window; a handler that stops idling
  // is called again only after the next ordinary message.
  struct AppFilter : CMessageFilter {
    bool PreTranslateMessage(MSG* msg) override { return msg->message == WM_APP; }
  } appFilter;
  loop.AddMessageFilter(&appFilter);
  loop.RemoveIdleHandler(&driver);
  loop.counts.clear();
  int calls = 0;
  Handler stopper([&] {
    if (++calls == 1) PostMessageA(window, WM_APP, 0, 0);
    if (calls == 2) PostQuitMessage(3);
    return false;
  });
  loop.AddIdleHandler(&stopper);
  g_dispatched = 0;
  EXPECT_EQ(loop.Run(), 3);
  EXPECT_EQ(loop.counts, (std::vector<int>{0, 0}));
  EXPECT_EQ(g_dispatched, 0);
  DestroyWindow(window);
}

TEST(AppModule, KeepsOneLoopPerThreadAndTheResourceInstance) {
  CAppModule module;
  const HINSTANCE program = GetModuleHandleA(nullptr);
  module.Init(program);
  EXPECT_EQ(module.GetModuleInstance(), program);
  EXPECT_EQ(module.GetResourceInstance(), program);
  const HINSTANCE other = GetModuleHandleA("kernel32.dll");
  module.SetResourceInstance(other);
  EXPECT_EQ(module.GetResourceInstance(), other);
  EXPECT_EQ(module.GetModuleInstance(), program);

  CAppMessageLoop mine, theirs;
  EXPECT_EQ(module.GetMessageLoop(), nullptr);
  module.AddMessageLoop(&mine);
  DWORD theirThread = 0;
  std::thread([&] {
    theirThread = GetCurrentThreadId();
    module.AddMessageLoop(&theirs);
    EXPECT_EQ(module.GetMessageLoop(), &theirs);
  }).join();
  EXPECT_EQ(module.GetMessageLoop(), &mine);
  EXPECT_EQ(module.GetMessageLoop(theirThread), &theirs);
  module.RemoveMessageLoop();
  EXPECT_EQ(module.GetMessageLoop(), nullptr);
  EXPECT_EQ(module.GetMessageLoop(theirThread), &theirs);
  module.Term();
  EXPECT_EQ(module.GetMessageLoop(theirThread), nullptr);
}

}  // namespace
