#include "engine/pace_tuner.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Runs one survey, each stretch taking ticksAt(pace, stretch of that pace); returns the
// pace chosen.
int Survey(PaceTuner& tuner, const std::function<std::uint64_t(int, int)>& ticksAt) {
  int pace = tuner.Pace();
  for (int p = 0; p <= PaceTuner::kMaxPace; ++p) {
    for (int s = 0; s < PaceTuner::kStretchesPerPace; ++s) {
      EXPECT_EQ(pace, p);
      pace = tuner.StretchEnded(ticksAt(p, s));
    }
  }
  return pace;
}

TEST(PaceTuner, KeepsTheFastestPaceUntilItSurveysAfreshWithoutTheOldFigures) {
  PaceTuner tuner;
  // Pace 10 is fastest, though an interrupt slowed one of its stretches.
  const int chosen = Survey(tuner, [](int pace, int stretch) -> std::uint64_t {
    if (pace == 10) return stretch == 0 ? 9000 : 400;
    return 1000 - pace;
  });
  EXPECT_EQ(chosen, 10);
  for (int s = 1; s < PaceTuner::kStretchesBetweenSurveys; ++s) {
    ASSERT_EQ(tuner.StretchEnded(50), 10);
  }
  // The next survey starts from pace 0, and finds pace 3 fastest though it is slower
  // than pace 10 was.
  EXPECT_EQ(tuner.StretchEnded(50), 0);
  EXPECT_EQ(Survey(tuner, [](int pace, int) { return pace == 3 ? 700u : 800u; }), 3);
}

}  // namespace
