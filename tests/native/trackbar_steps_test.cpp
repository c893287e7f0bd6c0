#include <gtest/gtest.h>

#include "dialogs/trackbar_steps.h"

namespace {

struct Step {
  uint32_t code;
  uint16_t thumb;
  int32_t current;
  bool proposes;
  int32_t proposed;
};

constexpr TrackbarRange kThreshold = {0, 255, 32};
constexpr TrackbarRange kDivision = {2, 255, 32};

void Check(const TrackbarRange& range, const Step* steps, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    const Step& s = steps[i];
    int32_t v = -12345;
    EXPECT_EQ(TrackbarProposal(s.code, s.thumb, s.current, range, &v), s.proposes) << i;
    if (s.proposes) {
      EXPECT_EQ(v, s.proposed) << "step " << i << " code " << s.code;
    }
  }
}

TEST(TrackbarProposal, ThresholdSteps) {
  constexpr Step steps[] = {
      {0, 0, 0, true, -1},       // line up past the end: the box rejects it
      {1, 0, 255, true, 256},    // line down past the end
      {0, 0, 100, true, 99},  {1, 0, 100, true, 101},
      {2, 0, 20, true, 0},       // page up clamps at the minimum
      {2, 0, 100, true, 68},  {3, 0, 240, true, 255},  // page down clamps at the maximum
      {4, 77, 5, true, 77},   {5, 200, 5, true, 200},
      {5, 0xFFFF, 5, true, -1},  // the thumb's position is signed
      {6, 0, 5, true, 255},      // Home goes to the maximum
      {7, 0, 5, true, 0},        // End to the minimum
      {8, 0, 5, false, 0},       // end of tracking proposes nothing
      {9, 0, 5, false, 0},
  };
  Check(kThreshold, steps, sizeof steps / sizeof steps[0]);
}

TEST(TrackbarProposal, DivisionStepsStopAtTwo) {
  constexpr Step steps[] = {
      {0, 0, 2, true, 1}, {2, 0, 20, true, 2}, {2, 0, 100, true, 68},
      {3, 0, 240, true, 255}, {6, 0, 8, true, 255}, {7, 0, 8, true, 2},
  };
  Check(kDivision, steps, sizeof steps / sizeof steps[0]);
}

}  // namespace
