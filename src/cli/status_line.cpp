#include "cli/status_line.h"

#include <algorithm>
#include <cstdio>

#include "diag/format.h"
#include "run/run_session.h"

std::string StatusText(std::uint32_t errors, std::int32_t cycles, double checkedPercent,
                       std::int64_t elapsedSeconds) {
  return Format("Errors: %u  Cycles: %d  Checked: %u%%  Elapsed: %s", errors, cycles,
                static_cast<unsigned>(std::min(checkedPercent, 4294967295.0)),
                ElapsedText(elapsedSeconds).c_str());
}

void StatusLine::Show(const std::string& text) {
  if (!m_terminal) {
    std::fprintf(stderr, "%s\n", text.c_str());
    return;
  }
  // Blanks over what a longer line before left; no terminal control sequences, which not
  // every console understands.
  const std::size_t pad = m_shownLength > text.size() ? m_shownLength - text.size() : 0;
  std::fprintf(stderr, "\r%s%*s", text.c_str(), static_cast<int>(pad), "");
  std::fflush(stderr);
  m_shownLength = text.size();
}

void StatusLine::Close() {
  if (m_terminal && m_shownLength != 0) std::fputs("\n", stderr);
  m_shownLength = 0;
}
