#pragma once
// How long the shuffling worker holds back the value of each store. Its blocks lie a
// power of two apart, so all the lines of a pass fall into one set of the first-level
// cache. On some processors the sweep then runs at half its speed when every value is
// ready at once, and at full speed when each waits on a short chain of multiplies,
// carried from one iteration to the next, that makes the stores leave in step with
// the loads; on others any wait only costs. The best length of the chain depends on
// the processor, the share and the physical pages under it, so the worker measures:
// it runs stretches of iterations at every pace in turn, keeps the pace of the
// fastest stretch, and measures again every kStretchesBetweenSurveys stretches. Each
// pace gets more than one stretch, so that an interrupt in one does not decide.
//
// A pace changes only when an iteration's value is ready, never the value itself.
// Called by the worker's thread only.

#include <cstdint>
#include <limits>

class PaceTuner {
 public:
  // Paces are multiplies per iteration, 0 to kMaxPace.
  static constexpr int kMaxPace = 16;
  static constexpr std::uint32_t kStretchIterations = 16384;
  static constexpr int kStretchesPerPace = 2;
  static constexpr int kStretchesBetweenSurveys = 2048;

  // The pace the next stretch runs at.
  int Pace() const { return m_pace; }
  // A whole stretch ran at Pace() and took `ticks`; returns the pace for the next.
  int StretchEnded(std::uint64_t ticks);

 private:
  int m_pace = 0;
  // A survey runs while m_stretchesLeft is 0: kStretchesPerPace stretches at each pace,
  // upwards.
  int m_stretchesLeft = 0;
  int m_stretchesAtPace = 0;
  int m_fastestPace = 0;
  std::uint64_t m_fastestTicks = std::numeric_limits<std::uint64_t>::max();
};
