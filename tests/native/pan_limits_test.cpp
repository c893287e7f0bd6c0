// Where the image lies in the preview pane and how drags move it.
#include <gtest/gtest.h>

#include "dialogs/pan_limits.h"

namespace {

void ExpectLayout(const AxisLayout& a, int32_t origin, int32_t visible, int32_t scroll) {
  EXPECT_EQ(a.origin, origin);
  EXPECT_EQ(a.visible, visible);
  EXPECT_EQ(a.scroll, scroll);
}

TEST(PanLayout, SmallImageIsCentredRoundingDown) {
  // Pane 200 x 180, image 101 x 50.
  ExpectLayout(LayoutAxis(200, 101, true, 0), 49, 101, 0);
  ExpectLayout(LayoutAxis(180, 50, true, 0), 65, 50, 0);
  ExpectLayout(LayoutAxis(180, 100, true, -80), 40, 100, 0);  // a fitting axis resets to 0
  ExpectLayout(LayoutAxis(200, 200, true, 0), 0, 200, 0);
}

TEST(PanLayout, LargeImageFillsThePaneAtItsOffset) {
  ExpectLayout(LayoutAxis(200, 300, false, 0), 0, 200, 0);
  ExpectLayout(LayoutAxis(200, 300, false, 70), 0, 200, 70);
}

TEST(PanLayout, NeverLaysOutOutsideTheImageOrThePane) {
  ExpectLayout(LayoutAxis(200, 300, false, 150), 0, 200, 100);  // offset past the end
  ExpectLayout(LayoutAxis(200, 300, false, -5), 0, 200, 0);
  ExpectLayout(LayoutAxis(200, 150, false, 30), 0, 150, 0);   // pane grew since `fits`
  ExpectLayout(LayoutAxis(100, 150, true, 0), 0, 100, 0);     // pane shrank since `fits`
  ExpectLayout(LayoutAxis(200, 0, true, 0), 0, 0, 0);         // empty image
  ExpectLayout(LayoutAxis(200, -4, true, 0), 0, 0, 0);
  ExpectLayout(LayoutAxis(0, 50, false, 0), 0, 0, 0);
}

TEST(PanDrag, FollowsTheHandAndStopsAtTheEdgesWithoutDeadTravel) {
  // Pane 200 x 180, image 300 x 100, pressed at x 150.
  DragAxis a = DragAxisStep(0, 150, 100, 300, 200);  // 50 to the left
  EXPECT_EQ(a.scroll, 50);
  a = DragAxisStep(a.scroll, a.lastMouse, 20, 300, 200);  // 80 more: stops at 100
  EXPECT_EQ(a.scroll, 100);
  EXPECT_EQ(a.lastMouse, 20);
  a = DragAxisStep(a.scroll, a.lastMouse, 50, 300, 200);  // 30 back: at once
  EXPECT_EQ(a.scroll, 70);
  a = DragAxisStep(a.scroll, a.lastMouse, 400, 300, 200);  // far right, out of the pane
  EXPECT_EQ(a.scroll, 0);
  EXPECT_EQ(a.lastMouse, 400);
  a = DragAxisStep(a.scroll, a.lastMouse, -300, 300, 200);  // far left, negative x
  EXPECT_EQ(a.scroll, 100);
}

TEST(PanDrag, UpperBoundFirstOnAFittingAxis) {
  // Image 100 high in a pane 180 high: the bound puts the offset at -80 (the paint
  // resets it to 0), whatever the mouse did.
  EXPECT_EQ(DragAxisStep(0, 90, 90, 100, 180).scroll, -80);
  EXPECT_EQ(DragAxisStep(0, 90, 10, 100, 180).scroll, -80);
}

TEST(PanDrag, ExtremeValuesDoNotOverflow) {
  EXPECT_EQ(DragAxisStep(0, 32767, -32768, INT32_MAX, 200).scroll, 65535);
  EXPECT_EQ(DragAxisStep(INT32_MAX - 10, 0, -32768, INT32_MAX, 200).scroll, INT32_MAX - 200);
  EXPECT_EQ(DragAxisStep(0, -32768, 32767, INT32_MIN, 200).scroll, INT32_MIN);
}

TEST(PanDrag, NothingToPanWhenTheImageFitsBothWays) {
  EXPECT_FALSE(CanPan(200, 180, 101, 50));
  EXPECT_FALSE(CanPan(200, 180, 200, 180));
  EXPECT_TRUE(CanPan(200, 180, 201, 50));
  EXPECT_TRUE(CanPan(200, 180, 10, 181));
}

}  // namespace
