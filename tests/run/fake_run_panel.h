#pragma once
// A panel that records what the controller does to it, with controls and clocks a test
// sets, and a message queue the test pumps.

#include <deque>
#include <map>
#include <string>
#include <vector>

#include "run/run_panel.h"

namespace test_support {

struct Balloon {
  std::string text;
  std::string title;
  BalloonIcon icon;
  std::uint32_t timeoutMs;
};

class FakeRunPanel : public IRunPanel {
 public:
  // Control contents: numeric fields as text, list selections, check boxes.
  std::map<int, std::string> texts;
  std::map<int, std::int32_t> selections;
  std::map<int, bool> checks;
  std::map<int, std::vector<std::string>> listEntries;

  // What the controller did.
  std::string caption;
  std::string trayTip;
  std::vector<std::string> trayTips;
  std::vector<TrayIcon> trayIcons;
  std::vector<Balloon> balloons;
  std::map<int, bool> enabled;
  std::map<int, std::uint32_t> numbers;
  std::vector<int> focused;
  std::deque<std::uint32_t> posted;
  std::vector<std::uint32_t> priorityClasses;
  std::uint32_t spinLow = 0;
  std::uint32_t spinHigh = 0;
  bool compactMemoryEnabled = true;
  int beeps = 0;
  int flashes = 0;
  int minimizeRequests = 0;

  // What the controller sees.
  bool visible = true;
  bool minimized = false;
  std::uint64_t tick = 10'000;
  std::int64_t calendar = 1'000'000;
  platform::LocalTime localTime{2026, 12, 9, 10, 0, 0};
  std::uint32_t availableMb = 3000;

  bool ReadNumber(int control, std::uint32_t& value) override {
    const std::string& text = texts[control];
    value = 0;
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    value = static_cast<std::uint32_t>(std::stoul(text));
    return true;
  }
  std::int32_t ReadSelection(int list) override {
    const auto found = selections.find(list);
    return found == selections.end() ? -1 : found->second;
  }
  std::string ReadListEntry(int list, std::int32_t index) override {
    const auto& entries = listEntries[list];
    return index >= 0 && static_cast<std::size_t>(index) < entries.size() ? entries[index] : "";
  }
  bool ReadChecked(int box) override { return checks[box]; }

  void SetCaption(const std::string& text) override { caption = text; }
  void SetControlText(int control, const std::string& text) override { texts[control] = text; }
  void SetControlNumber(int control, std::uint32_t value) override {
    numbers[control] = value;
    texts[control] = std::to_string(value);
  }
  void EnableControl(int control, bool on) override { enabled[control] = on; }
  void Focus(int control) override { focused.push_back(control); }
  void SetMemorySpinRange(std::uint32_t low, std::uint32_t high) override {
    spinLow = low;
    spinHigh = high;
  }
  void EnableCompactMemory(bool on) override { compactMemoryEnabled = on; }

  void SetTrayTip(const std::string& text) override {
    trayTip = text;
    trayTips.push_back(text);
  }
  void SetTrayIcon(TrayIcon icon) override { trayIcons.push_back(icon); }
  void ShowBalloon(const std::string& text, const std::string& title, BalloonIcon icon,
                   std::uint32_t timeoutMs) override {
    balloons.push_back({text, title, icon, timeoutMs});
  }

  bool IsVisible() override { return visible; }
  bool IsMinimized() override { return minimized; }
  void PostCommand(std::uint32_t commandWord) override { posted.push_back(commandWord); }
  void PostMinimize() override { ++minimizeRequests; }
  void Beep() override { ++beeps; }
  void Flash() override { ++flashes; }

  void SetPriorityClass(std::uint32_t priorityClass) override {
    priorityClasses.push_back(priorityClass);
  }
  void Sleep(std::uint32_t) override {}
  std::uint64_t TickMilliseconds() override { return tick; }
  std::int64_t CalendarSeconds() override { return calendar; }
  platform::LocalTime LocalTime() override { return localTime; }
  std::uint32_t AvailableMemoryMb() override { return availableMb; }
};

}  // namespace test_support
