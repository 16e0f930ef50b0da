#pragma once
// "Memory compacting...": while the dialog is open a worker thread repeatedly takes nearly
// all available physical memory, writes to every page of it and gives it back, so that the
// system moves other programs' pages and its caches out; the dialog shows the available
// memory once a second until the user presses OK.
//
// Threadsafety: the dialog and its destruction run on the user-interface thread; the
// worker shares only `stopRequested` and `shownAvailableMb` with it, and `heldBlock` is
// the worker's until the worker has been joined.

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "platform/thread.h"
#include "shell/framework/dialog.h"

class CCompactMemDlg : public CDialog {
 public:
  CCompactMemDlg() = default;
  // Stops and joins the worker, then gives back the memory it still holds.
  ~CCompactMemDlg() override;

 private:
  struct Block {
    void* address = nullptr;
    std::uint64_t size = 0;
  };

  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog();
  void ShowAvailable();
  static void CompactThreadProc(void* dialog);
  // One step of the worker: takes what is available and keeps it, or, holding a block,
  // takes what is still available on top of it and gives both back.
  void CompactStep();
  // Writes a byte to every page of `block`, or fewer once a stop is requested.
  void TouchPages(const Block& block);
  void Release(Block& block);

  std::atomic<bool> stopRequested{false};
  std::atomic<std::uint32_t> shownAvailableMb{0};
  std::uint32_t pageSize = 4096;
  platform::Thread compactThread;
  Block heldBlock;
  HWND progressBar = nullptr;
};
