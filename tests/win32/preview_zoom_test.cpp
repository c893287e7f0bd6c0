// The preview zoomed out, in the real dialogs through PBF_Setup: every pane pixel
// against the oracle at each level, and the wheel, the double-click, the right button,
// drags and cursors at a zoom.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "resources/resource.h"
#include "support/keyboard_and_spies.h"

namespace {

class PreviewZoom : public SpiedSetupDialogTest {
 protected:
  PreviewZoom() : SpiedSetupDialogTest(0) {}
  // Runs `step` in dialog `filter` over `shown`, then cancels.
  void Drive(int32_t filter, const TestImage& shown, const DialogStep& step) {
    const DriveResult r = DriveDialog(
        [&] { return plugin.Setup(filter, host, shown.data(), shown.width, shown.height); }, {step, Cancel}, 60000);
    EXPECT_EQ(r.stepsDone, 2);
  }
  HCURSOR Cursor(int id) const { return LoadCursorA(plugin.Module(), MAKEINTRESOURCEA(id)); }
  const TestImage big = ColourfulImage(900, 700);
  // The caption at 1:1 is the template's; at 1:n it says so.
  std::wstring caption;
  ::testing::AssertionResult ShowsZoom(HWND d, int n) {
    const std::wstring expected = n == 1 ? caption : caption + L" (1:" + std::to_wstring(n) + L")";
    if (WindowTextW(d) == expected) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "caption differs from 1:" << n;
  }
  int Fit(HWND d, const TestImage& shown) {
    const SIZE s = PaneClientSize(d);
    const int w = static_cast<int>(s.cx), h = static_cast<int>(s.cy);
    return std::max({1, (shown.width + w - 1) / w, (shown.height + h - 1) / h});
  }
};

TEST_F(PreviewZoom, EveryLevelMatchesTheOracleForEachFilter) {
  const PixelRule rules[] = {SolarizeDefault, PosterizeDefault, CutLowBitDefault};
  // 960 x 720 is a multiple of every level up to fit; 701 x 523 of none.
  for (const TestImage& shown : {ColourfulImage(960, 720), ColourfulImage(701, 523)}) {
    for (int32_t filter = 0; filter < 3; ++filter) {
      SCOPED_TRACE(std::to_string(shown.width) + " in filter " + std::to_string(filter));
      Drive(filter, shown, {[&](HWND d) {
              caption = WindowTextW(d);
              const int fit = Fit(d, shown);
              for (int n : {1, 2, 3, 4, 6, 8, fit}) {
                if (n > fit) continue;
                ASSERT_TRUE(ShowsZoom(d, n));
                EXPECT_EQ(PaneDiffers(d, shown, rules[filter], 0, 0, n), "") << "1:" << n;
                Wheel(PreviewPane(d), PreviewPane(d), 0, 0, -120);  // out at the top-left
              }
              ClickButton(d, IDC_PREVIEW_CHECK);  // off: the picture unfiltered, the same way
              EXPECT_EQ(PaneDiffers(d, shown, Unchanged, 0, 0, fit), "");
            }});
    }
  }
}

TEST_F(PreviewZoom, TheRightButtonShowsTheUnfilteredPictureAndChangesNothing) {
  RunThenOk(big, {[&](HWND d) {
    HWND pane = PreviewPane(d);
    for (int n : {1, 2}) {
      RightButton(pane, 10, 10, true);
      EXPECT_EQ(PaneDiffers(d, big, Unchanged, 0, 0, n), "") << "1:" << n;
      EXPECT_TRUE(IsChecked(d, IDC_PREVIEW_CHECK));
      RightButton(pane, -50, -50, false);  // let go outside the pane
      EXPECT_EQ(GetCapture(), nullptr);
      EXPECT_EQ(PaneDiffers(d, big, SolarizeDefault, 0, 0, n), "") << "1:" << n;
      Wheel(pane, pane, 0, 0, -120);
    }
    ClickButton(d, IDC_PREVIEW_CHECK);  // off: the right button has nothing to compare
    RightButton(pane, 10, 10, true);
    EXPECT_EQ(GetCapture(), nullptr);
    ClickButton(d, IDC_PREVIEW_CHECK);
  }});
  EXPECT_EQ(ProfileWriteTexts(), (std::vector<std::string>{"Solarization/threshold=230", "Solarization/channel=0",
                                                          "Solarization/preview=1", "<null>/<null>=<null>"}));
}

TEST_F(PreviewZoom, DragsPanAtAZoomAndADoubleClickTogglesFitAndCentresItsPoint) {
  RunThenCancel(big, {[&](HWND d) {
    caption = WindowTextW(d);
    HWND pane = PreviewPane(d);
    Wheel(pane, pane, 0, 0, -120);  // 1:2, still larger than the pane
    MouseMove(pane, 100, 50, false);
    EXPECT_EQ(GetCursor(), Cursor(IDCUR_HAND_OPEN));
    MouseDown(pane, 100, 50);
    MouseMove(pane, 70, 30, true);
    EXPECT_EQ(GetCursor(), Cursor(IDCUR_HAND_GRIP));
    EXPECT_EQ(PaneDiffers(d, big, SolarizeDefault, 30, 20, 2), "");
    Wheel(pane, pane, 0, 0, 120);  // back to 1:1 mid-drag: the drag ends
    EXPECT_EQ(GetCapture(), nullptr);
    MouseMove(pane, 0, 0, true);  // block (30, 20) was under (0, 0): its middle stays there
    EXPECT_EQ(PaneDiffers(d, big, SolarizeDefault, 61, 41), "");

    const int fit = Fit(d, big);
    // The platform's static class turns a second click into WM_LBUTTONDBLCLK.
    EXPECT_TRUE(GetClassLongA(pane, GCL_STYLE) & CS_DBLCLKS);
    DoubleClick(pane, 5, 5);
    ASSERT_TRUE(ShowsZoom(d, fit));
    EXPECT_EQ(PaneDiffers(d, big, SolarizeDefault, 0, 0, fit), "");
    // At fit a press does nothing and the platform's cursor stays.
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    SetCursor(arrow);
    MouseMove(pane, 40, 40, false);
    MouseDown(pane, 40, 40);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(GetCursor(), arrow);
    // Back to 1:1 with the image point under (40, 40) in the pane's middle.
    const SIZE size = PaneClientSize(d);
    const int cx = static_cast<int>(size.cx), cy = static_cast<int>(size.cy);
    const int left = (cx - (big.width + fit - 1) / fit) / 2, top = (cy - (big.height + fit - 1) / fit) / 2;
    DoubleClick(pane, 40, 40);
    EXPECT_TRUE(ShowsZoom(d, 1));
    EXPECT_EQ(PaneDiffers(d, big, SolarizeDefault, std::max(0, (40 - left) * fit + fit / 2 - cx / 2),
                          std::max(0, (40 - top) * fit + fit / 2 - cy / 2)), "");
  }});
}

TEST_F(PreviewZoom, TheWheelReachesThePaneUnlessAComboBoxHasTheFocusAndAStormPaintsOnce) {
  int before = 0;
  RunThenCancel(big, {[&](HWND d) {
    caption = WindowTextW(d);
    HWND pane = PreviewPane(d);
    // What older systems do: the focused edit box passes the wheel to the dialog.
    SetFocus(GetDlgItem(d, IDC_THRESHOLD_EDIT));
    Wheel(d, pane, 10, 10, -120);
    EXPECT_TRUE(ShowsZoom(d, 2));
    Wheel(d, pane, -20, 10, -120);  // the cursor beside the pane
    EXPECT_TRUE(ShowsZoom(d, 2));
    Wheel(d, pane, 10, 10, -60);  // half notches add up
    Wheel(d, pane, 10, 10, -60);
    EXPECT_TRUE(ShowsZoom(d, 3));
    HWND combo = GetDlgItem(d, IDC_CHANNEL_COMBO);
    SetFocus(combo);
    Wheel(combo, pane, 10, 10, -120);
    Wheel(d, pane, 10, 10, -120);
    EXPECT_TRUE(ShowsZoom(d, 3));
    UpdateWindow(pane);
    before = PreviewPaints();
    for (int i = 0; i < 300; ++i) Wheel(pane, pane, 10, 10, -120, true);  // drawn once, after
  }, [&](HWND d) {
    EXPECT_TRUE(ShowsZoom(d, Fit(d, big)));
    EXPECT_LE(PreviewPaints() - before, 2);
  }});
}

TEST_F(PreviewZoom, DegenerateSizesHaveAFitAndNoOtherLevelWhenTheyFit) {
  for (const TestImage& shown : {ColourfulImage(0, 0), ColourfulImage(1, 1), ColourfulImage(1, 2000),
                                 ColourfulImage(2000, 1), ColourfulImage(3, 1000)}) {
    SCOPED_TRACE(std::to_string(shown.width) + "x" + std::to_string(shown.height));
    Drive(0, shown, {[&](HWND d) {
            caption = WindowTextW(d);
            for (int i = 0; i < 40; ++i) Wheel(PreviewPane(d), PreviewPane(d), 0, 0, -120);
            const int fit = Fit(d, shown);
            EXPECT_TRUE(ShowsZoom(d, fit));
            EXPECT_EQ(PaneDiffers(d, shown, SolarizeDefault, 0, 0, fit), "");
            DoubleClick(PreviewPane(d), 0, 0);
            EXPECT_TRUE(ShowsZoom(d, 1));
          }});
  }
}

}  // namespace
