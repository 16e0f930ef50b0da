#pragma once
// Everything the test run controller and the status tick do to the panel, its tray icon
// and the process. The Windows panel implements it with its window, controls and
// notification-area icon; tests implement it with a recording fake and clocks of their own.
//
// Controls are named by their panel identifiers (resources/resource_ids.h).
// Threadsafety: called on the user-interface thread only.

#include <cstdint>
#include <string>

#include "platform/local_time.h"

enum class TrayIcon { Normal, Busy };

// Notification-area balloon icons, as the system numbers them.
enum class BalloonIcon : std::uint32_t { Info = 1, Error = 3 };

class IRunPanel {
 public:
  // Reading controls. ReadNumber is false, with value 0, when the text is not an unsigned
  // decimal number; ReadSelection is -1 when the list has no selection; ReadChecked is
  // true only for a fully checked box.
  virtual bool ReadNumber(int control, std::uint32_t& value) = 0;
  virtual std::int32_t ReadSelection(int list) = 0;
  virtual std::string ReadListEntry(int list, std::int32_t index) = 0;
  virtual bool ReadChecked(int box) = 0;

  // Writing controls.
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetControlText(int control, const std::string& text) = 0;
  virtual void SetControlNumber(int control, std::uint32_t value) = 0;
  virtual void EnableControl(int control, bool enabled) = 0;
  virtual void Focus(int control) = 0;
  virtual void SetMemorySpinRange(std::uint32_t low, std::uint32_t high) = 0;
  // The system menu's "Compact memory..." command, where the menu has it.
  virtual void EnableCompactMemory(bool enabled) = 0;

  // The notification-area icon. The controller keeps texts within the icon's limits.
  virtual void SetTrayTip(const std::string& text) = 0;
  virtual void SetTrayIcon(TrayIcon icon) = 0;
  virtual void ShowBalloon(const std::string& text, const std::string& title, BalloonIcon icon,
                           std::uint32_t timeoutMs) = 0;

  // The panel window.
  virtual bool IsVisible() = 0;
  virtual bool IsMinimized() = 0;
  virtual void PostCommand(std::uint32_t commandWord) = 0;
  virtual void PostMinimize() = 0;
  virtual void Beep() = 0;
  // Flashes caption and taskbar button twice.
  virtual void Flash() = 0;

  // The process and its clocks.
  virtual void SetPriorityClass(std::uint32_t priorityClass) = 0;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
  // A monotonic millisecond clock that does not wrap.
  virtual std::uint64_t TickMilliseconds() = 0;
  virtual std::int64_t CalendarSeconds() = 0;
  virtual platform::LocalTime LocalTime() = 0;
  virtual std::uint32_t AvailableMemoryMb() = 0;

 protected:
  ~IRunPanel() = default;
};
