#include "engine/pace_tuner.h"

int PaceTuner::StretchEnded(std::uint64_t ticks) {
  if (m_stretchesLeft != 0) {
    if (--m_stretchesLeft == 0) {
      m_pace = 0;
      m_fastestTicks = std::numeric_limits<std::uint64_t>::max();
    }
    return m_pace;
  }
  if (ticks < m_fastestTicks) {
    m_fastestTicks = ticks;
    m_fastestPace = m_pace;
  }
  if (++m_stretchesAtPace < kStretchesPerPace) return m_pace;
  m_stretchesAtPace = 0;
  if (m_pace < kMaxPace) {
    ++m_pace;
  } else {
    m_pace = m_fastestPace;
    m_stretchesLeft = kStretchesBetweenSurveys;
  }
  return m_pace;
}
