// The Solarization dialog driven as a user would: through PBF_Setup, from inside its
// modal loop, with the settings file and the preview pane read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/setup_dialog_test.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

PixelRule Solarized(int threshold, int channel) {
  return [=](Pixel p) { return ExpectedSolarization(p, threshold, channel); };
}

class SolarizationDialog_ : public SetupDialogTest {
 protected:
  SolarizationDialog_() : SetupDialogTest(0) {}
};

void ExpectThreshold(HWND d, int value) {
  EXPECT_TRUE(BoxAndTrackbarShow(d, IDC_THRESHOLD_EDIT, IDC_THRESHOLD_SLIDER, value));
}

// --- opening and closing ------------------------------------------------------------

TEST_F(SolarizationDialog_, OpensWithDefaultsWithoutASettingsFile) {
  RunThenOk({
      [](HWND d) {
        ExpectThreshold(d, 230);
        EXPECT_EQ(ComboItems(d, IDC_CHANNEL_COMBO), (std::vector<std::string>{"RGB", "R", "G", "B"}));
        EXPECT_EQ(ComboSelection(d, IDC_CHANNEL_COMBO), 0);
        EXPECT_TRUE(IsChecked(d, IDC_PREVIEW_CHECK));
        EXPECT_EQ(GetFocus(), GetDlgItem(d, IDC_THRESHOLD_EDIT));
      },
  });
  EXPECT_EQ(plugin.SettingsText(), "[Solarization]\r\nthreshold=230\r\nchannel=0\r\npreview=1\r\n");
}

TEST_F(SolarizationDialog_, OpensWithStoredValuesButTheListOnRgb) {
  plugin.WriteSetting("Solarization", "threshold", 17);
  plugin.WriteSetting("Solarization", "channel", 2);
  plugin.WriteSetting("Solarization", "preview", 0);
  RunThenOk({
      [](HWND d) {
        ExpectThreshold(d, 17);
        EXPECT_EQ(ComboSelection(d, IDC_CHANNEL_COMBO), 0);
        EXPECT_FALSE(IsChecked(d, IDC_PREVIEW_CHECK));
      },
  });
  EXPECT_EQ(plugin.SettingsText(), "[Solarization]\r\nthreshold=17\r\nchannel=0\r\npreview=0\r\n");
}

TEST_F(SolarizationDialog_, OutOfRangeStoredThresholdOpensWith230) {
  for (const char* stored : {"300", "-1", "256"}) {
    plugin.WriteSetting("Solarization", "threshold", stored);
    SCOPED_TRACE(stored);
    RunThenOk({[](HWND d) { ExpectThreshold(d, 230); }});
    EXPECT_NE(plugin.SettingsText().find("threshold=230\r\n"), std::string::npos) << stored;
  }
}

TEST_F(SolarizationDialog_, OkWritesInKeyOrderAndFlushes) {
  RunThenOk({
      [](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "99"); },
      [](HWND d) { SelectComboItem(d, IDC_CHANNEL_COMBO, 3); },
      [](HWND d) { ClickButton(d, IDC_PREVIEW_CHECK); },
  });
  // Read from the disk while the module is still loaded: the write was flushed.
  EXPECT_EQ(plugin.SettingsText(), "[Solarization]\r\nthreshold=99\r\nchannel=3\r\npreview=0\r\n");
}

TEST_F(SolarizationDialog_, CancelEscapeAndTheCloseBoxWriteNothing) {
  plugin.WriteSetting("Solarization", "threshold", 12);
  const std::string before = plugin.SettingsText();
  const DialogStep ends[] = {
      Cancel,
      [](HWND d) { PressEscape(d); },
      [](HWND d) { PressCloseBox(d); },
      [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0); },
  };
  int n = 0;
  for (const DialogStep& end : ends) {
    const DriveResult r = Run({
        [](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "200"); },
        [](HWND d) { ClickButton(d, IDC_PREVIEW_CHECK); },
        end,
    });
    EXPECT_EQ(r.returned, 0) << "way " << n;
    EXPECT_EQ(plugin.SettingsText(), before) << "way " << n;
    ++n;
  }
}

TEST_F(SolarizationDialog_, EnterPressesOk) {
  const DriveResult r = Run({[](HWND d) {
    PostMessageA(GetDlgItem(d, IDC_THRESHOLD_EDIT), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  }});
  EXPECT_EQ(r.returned, 1);
  EXPECT_NE(plugin.SettingsText().find("threshold=230"), std::string::npos);
}

TEST_F(SolarizationDialog_, SetupRefusesWithoutADialog) {
  // An invalid parent window: the platform cannot create the dialog.
  EXPECT_EQ(plugin.Setup(0, reinterpret_cast<HWND>(0x7FFF0), image.data(), image.width, image.height), 0);
  EXPECT_EQ(plugin.Setup(7, host, image.data(), image.width, image.height), 0);
  EXPECT_EQ(plugin.SettingsText(), "");
}

// --- the threshold: edit box, trackbar, up-down -------------------------------------

TEST_F(SolarizationDialog_, TrackbarCodesWriteThroughTheBox) {
  struct Case {
    int start, code, thumb, expected;
  };
  const Case cases[] = {
      {100, TB_LINEUP, 0, 99},       {100, TB_LINEDOWN, 0, 101},     {0, TB_LINEUP, 0, 0},
      {255, TB_LINEDOWN, 0, 255},    {20, TB_PAGEUP, 0, 0},          {100, TB_PAGEUP, 0, 68},
      {240, TB_PAGEDOWN, 0, 255},    {100, TB_PAGEDOWN, 0, 132},     {100, TB_THUMBTRACK, 77, 77},
      {100, TB_THUMBPOSITION, 3, 3}, {100, TB_THUMBTRACK, 0xFFFF, 100},  // -1: rejected
      {100, TB_TOP, 0, 255},         {100, TB_BOTTOM, 0, 0},         {100, TB_ENDTRACK, 0, 100},
  };
  std::vector<DialogStep> steps;
  for (const Case& c : cases) {
    steps.push_back([c](HWND d) {
      SetEditText(d, IDC_THRESHOLD_EDIT, std::to_string(c.start).c_str());
      ScrollTrackbar(d, IDC_THRESHOLD_SLIDER, c.code, c.thumb);
      SCOPED_TRACE("from " + std::to_string(c.start) + " code " + std::to_string(c.code));
      ExpectThreshold(d, c.expected);
    });
  }
  steps.push_back([](HWND d) {
    // A scroll message from any other window is not the trackbar's.
    SetEditText(d, IDC_THRESHOLD_EDIT, "50");
    SendMessageA(d, WM_HSCROLL, TB_TOP, reinterpret_cast<LPARAM>(GetDlgItem(d, IDC_CHANNEL_COMBO)));
    SendMessageA(d, WM_HSCROLL, TB_TOP, 0);
    ExpectThreshold(d, 50);
  });
  RunThenOk(std::move(steps));
  EXPECT_NE(plugin.SettingsText().find("threshold=50\r\n"), std::string::npos);
}

TEST_F(SolarizationDialog_, RejectedTextsAreRestoredAtOnce) {
  RunThenOk({
      [](HWND d) {
        SetEditText(d, IDC_THRESHOLD_EDIT, "25");
        ExpectThreshold(d, 25);
        for (const char* rejected : {"256", "abc", "-3", "99999999999"}) {
          SetEditText(d, IDC_THRESHOLD_EDIT, rejected);
          SCOPED_TRACE(rejected);
          ExpectThreshold(d, 25);
        }
        SetEditText(d, IDC_THRESHOLD_EDIT, "0");
        ExpectThreshold(d, 0);
        SetEditText(d, IDC_THRESHOLD_EDIT, "255");
        ExpectThreshold(d, 255);
      },
      [](HWND d) {
        // Typing: select all, delete; then a digit after 25 giving 256.
        HWND edit = GetDlgItem(d, IDC_THRESHOLD_EDIT);
        SetEditText(d, IDC_THRESHOLD_EDIT, "25");
        SendMessageA(edit, EM_SETSEL, 0, -1);
        SendMessageA(edit, WM_CLEAR, 0, 0);
        EXPECT_EQ(ControlText(d, IDC_THRESHOLD_EDIT), "");  // left empty: 25 stands
        EXPECT_EQ(TrackbarPos(d, IDC_THRESHOLD_SLIDER), 25);
        SetEditText(d, IDC_THRESHOLD_EDIT, "25");
        SendMessageA(edit, EM_SETSEL, 2, 2);
        SendMessageA(edit, WM_CHAR, '6', 0);
        ExpectThreshold(d, 25);
      },
      [](HWND d) {
        // The up-down writes its position into the box, which checks it too.
        SendDlgItemMessageA(d, IDC_THRESHOLD_SPIN, UDM_SETPOS32, 0, 140);
        ExpectThreshold(d, 140);
        SetEditText(d, IDC_THRESHOLD_EDIT, "");  // OK then saves 140
      },
  });
  EXPECT_NE(plugin.SettingsText().find("threshold=140\r\n"), std::string::npos);
}

// --- the preview ------------------------------------------------------------------

TEST_F(SolarizationDialog_, PreviewFollowsThresholdChannelAndTheBox) {
  RunThenCancel({
      [&](HWND d) { EXPECT_EQ(PaneDiffers(d, image, Solarized(230, 0)), ""); },
      [&](HWND d) {
        SetEditText(d, IDC_THRESHOLD_EDIT, "0");  // every pixel inverted
        EXPECT_EQ(PaneDiffers(d, image, Solarized(0, 0)), "");
        SetEditText(d, IDC_THRESHOLD_EDIT, "120");
        EXPECT_EQ(PaneDiffers(d, image, Solarized(120, 0)), "");
        ScrollTrackbar(d, IDC_THRESHOLD_SLIDER, TB_PAGEDOWN);
        EXPECT_EQ(PaneDiffers(d, image, Solarized(152, 0)), "");
      },
      [&](HWND d) {
        for (int k : {1, 2, 3, 0}) {
          SelectComboItem(d, IDC_CHANNEL_COMBO, k);
          EXPECT_EQ(PaneDiffers(d, image, Solarized(152, k)), "") << "channel " << k;
        }
      },
      [&](HWND d) { ClickButton(d, IDC_PREVIEW_CHECK); },  // off: the plain image
      [&](HWND d) {
        EXPECT_EQ(PaneDiffers(d, image, Unchanged), "");
        // Changes while off redraw nothing, and the next paint is plain.
        SelectComboItem(d, IDC_CHANNEL_COMBO, 2);
        SetEditText(d, IDC_THRESHOLD_EDIT, "10");
        EXPECT_EQ(PaneDiffers(d, image, Unchanged), "");
      },
      [&](HWND d) { ClickButton(d, IDC_PREVIEW_CHECK); },  // on again
      [&](HWND d) { EXPECT_EQ(PaneDiffers(d, image, Solarized(10, 2)), ""); },
  });
}

TEST_F(SolarizationDialog_, ThresholdExtremes) {
  TestImage white = UniformImage(20, 20, 255, 255, 255, 255);
  white.bytes[0] = 254;  // one pixel just off white
  RunThenCancel(white, {
      [&](HWND d) {
        SetEditText(d, IDC_THRESHOLD_EDIT, "255");
        EXPECT_EQ(PaneDiffers(d, white, Solarized(255, 0)), "");
        const SIZE s = PaneClientSize(d);
        const PanePicture p = CapturePane(PreviewPane(d));
        const int left = (s.cx - 20) / 2, top = (s.cy - 20) / 2;
        EXPECT_NE(p.At(left, top), 0u);           // the off-white pixel stays
        EXPECT_EQ(p.At(left + 1, top), 0u);       // pure white turns black
      },
  });
}

TEST_F(SolarizationDialog_, TransparentImageShowsTheBoardAlone) {
  const TestImage clear = UniformImage(500, 400, 10, 200, 30, 0);
  RunThenCancel(clear, {
      [&](HWND d) {
        const PanePicture p = CapturePane(PreviewPane(d));
        EXPECT_EQ(p.At(0, 0), 0xFFFFFFu);
        EXPECT_EQ(p.At(7, 7), 0xFFFFFFu);
        EXPECT_EQ(p.At(8, 0), 0xC0C0C0u);
        EXPECT_EQ(p.At(15, 7), 0xC0C0C0u);
        EXPECT_EQ(p.At(8, 8), 0xFFFFFFu);
        EXPECT_EQ(PaneDiffers(d, clear, Solarized(230, 0)), "");
      },
      [&](HWND d) {
        MouseDown(PreviewPane(d), 100, 100);
        MouseMove(PreviewPane(d), 40, 30, true);  // the board stays still under a drag
        MouseUp(PreviewPane(d), 40, 30);
        EXPECT_EQ(PaneDiffers(d, clear, Solarized(230, 0)), "");
      },
  });
}

TEST_F(SolarizationDialog_, MissingOrEmptyImageShowsOnlyTheWindowColour) {
  const TestImage empty;
  TestImage missing;
  missing.width = 300;  // a size without pixels: never read
  missing.height = 300;
  for (const TestImage* shown : std::vector<const TestImage*>{&empty, &missing}) {
    RunThenOk(*shown, {
        [](HWND d) {
          const PanePicture p = CapturePane(PreviewPane(d));
          for (uint32_t c : p.pixels) ASSERT_EQ(c, WindowFill());
        },
        [](HWND d) {
          MouseDown(PreviewPane(d), 50, 50);
          EXPECT_EQ(GetCapture(), nullptr);
          ClickButton(d, IDC_PREVIEW_CHECK);
        },
        [](HWND d) {
          const PanePicture p = CapturePane(PreviewPane(d));
          for (uint32_t c : p.pixels) ASSERT_EQ(c, WindowFill());
        },
    });
  }
}

// --- panning and cursors ----------------------------------------------------------

class Panning : public SolarizationDialog_ {
 protected:
  HCURSOR Cursor(int id) const { return LoadCursorA(plugin.Module(), MAKEINTRESOURCEA(id)); }
};

TEST_F(Panning, SmallImageNeitherPansNorChangesTheCursor) {
  RunThenCancel({
      [&](HWND d) {
        HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
        SetCursor(arrow);
        MouseMove(PreviewPane(d), 10, 10, false);
        EXPECT_EQ(GetCursor(), arrow);
        MouseDown(PreviewPane(d), 10, 10);
        EXPECT_EQ(GetCapture(), nullptr);
        MouseMove(PreviewPane(d), 60, 60, true);
        EXPECT_EQ(GetCursor(), arrow);
        EXPECT_EQ(PaneDiffers(d, image, Solarized(230, 0)), "");
      },
  });
}

TEST_F(Panning, DragFollowsTheHandStopsAtEdgesAndComesBackAtOnce) {
  const TestImage big = ColourfulImage(420, 330);
  const auto rule = Solarized(230, 0);
  RunThenCancel(big, {
      [&](HWND d) {
        EXPECT_EQ(PaneDiffers(d, big, rule), "");  // the top-left corner first
        HWND pane = PreviewPane(d);
        MouseMove(pane, 100, 50, false);
        EXPECT_EQ(GetCursor(), Cursor(IDCUR_HAND_OPEN));
        MouseDown(pane, 100, 50);
        EXPECT_EQ(GetCapture(), pane);
        EXPECT_EQ(GetCursor(), Cursor(IDCUR_HAND_GRIP));
        MouseMove(pane, 50, 30, true);
        EXPECT_EQ(GetCursor(), Cursor(IDCUR_HAND_GRIP));
        EXPECT_EQ(PaneDiffers(d, big, rule, 50, 20), "");
      },
      [&](HWND d) {
        // Past the right and bottom edges, out of the pane: the offsets stop...
        const SIZE s = PaneClientSize(d);
        const int maxX = big.width - s.cx, maxY = big.height - s.cy;
        MouseMove(PreviewPane(d), -600, -500, true);
        EXPECT_EQ(PaneDiffers(d, big, rule, maxX, maxY), "");
        // ...and come back with the first move back, without dead travel.
        MouseMove(PreviewPane(d), -570, -490, true);
        EXPECT_EQ(PaneDiffers(d, big, rule, maxX - 30, maxY - 10), "");
        // Past the top-left corner.
        MouseMove(PreviewPane(d), 900, 900, true);
        EXPECT_EQ(PaneDiffers(d, big, rule, 0, 0), "");
        MouseMove(PreviewPane(d), 880, 895, true);
        EXPECT_EQ(PaneDiffers(d, big, rule, 20, 5), "");
      },
      [&](HWND d) {
        // Released outside the pane: the drag ends, and the next move is not a drag.
        MouseUp(PreviewPane(d), -40, -40);
        EXPECT_EQ(GetCapture(), nullptr);
        MouseMove(PreviewPane(d), 10, 10, false);
        EXPECT_EQ(GetCursor(), Cursor(IDCUR_HAND_OPEN));
        EXPECT_EQ(PaneDiffers(d, big, rule, 20, 5), "");
        // The preview off shows the same place unfiltered.
        ClickButton(d, IDC_PREVIEW_CHECK);
      },
      [&](HWND d) { EXPECT_EQ(PaneDiffers(d, big, Unchanged, 20, 5), ""); },
  });
}

TEST_F(Panning, AFittingAxisNeverMoves) {
  const auto rule = Solarized(230, 0);
  TestImage wide;
  const DriveResult r = DriveDialog(
      [&] {
        // Wider than any pane of this template, and short.
        wide = ColourfulImage(400, 21);
        return plugin.Setup(0, host, wide.data(), wide.width, wide.height);
      },
      {
          [&](HWND d) {
            MouseDown(PreviewPane(d), 100, 50);
            MouseMove(PreviewPane(d), 100, 0, true);  // straight up
            EXPECT_EQ(PaneDiffers(d, wide, rule, 0, 0), "");
            MouseMove(PreviewPane(d), 70, 90, true);
            EXPECT_EQ(PaneDiffers(d, wide, rule, 30, 0), "");
            MouseUp(PreviewPane(d), 70, 90);
          },
          PressOk,
      });
  EXPECT_EQ(r.returned, 1);
  EXPECT_FALSE(r.watchdogFired);
}

}  // namespace
