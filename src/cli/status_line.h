#pragma once
// The console companion's status line on standard error: redrawn in place on a terminal,
// one line per update when the stream goes to a file or a pipe.
//
// Threadsafety: the main thread only.

#include <cstddef>
#include <cstdint>
#include <string>

// "Errors: 0  Cycles: 12  Checked: 340%  Elapsed: 00:00:12", the figures as the panel's
// status fields show them.
std::string StatusText(std::uint32_t errors, std::int32_t cycles, double checkedPercent,
                       std::int64_t elapsedSeconds);

class StatusLine {
 public:
  explicit StatusLine(bool terminal) : m_terminal(terminal) {}
  StatusLine(const StatusLine&) = delete;
  StatusLine& operator=(const StatusLine&) = delete;

  void Show(const std::string& text);
  // Ends a line redrawn in place, so what follows starts on a line of its own.
  void Close();

 private:
  const bool m_terminal;
  std::size_t m_shownLength = 0;
};
