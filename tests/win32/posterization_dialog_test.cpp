// The Posterization dialog driven as a user would: through PBF_Setup with index 1,
// from inside its modal loop, with the settings file and the preview pane read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdlib>

#include "support/keyboard_and_spies.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/setup_dialog_test.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

class PosterizationDialog_ : public SpiedSetupDialogTest {
 protected:
  PosterizationDialog_() : SpiedSetupDialogTest(1) {}
};

// Box and trackbar agree on one value.
::testing::AssertionResult ShowsLevels(HWND d, int n) {
  return BoxAndTrackbarShow(d, IDC_DIVISION_EDIT, IDC_DIVISION_SLIDER, n);
}

// The filter's level mapping, restated from its definition.
PixelRule PosterizedTo(int n) {
  return [n](Pixel p) { return ExpectedPosterization(p, n); };
}

TEST_F(PosterizationDialog_, TemplateTextsReadBackAsJapanese) {
  RunThenCancel({[](HWND d) {
    EXPECT_EQ(WindowTextW(d), L"ポスタリゼーション");
    EXPECT_EQ(LabelText(d, IDC_DIVISION_EDIT), L"階調(&D):");
    EXPECT_EQ(ControlTextW(d, IDC_PREVIEW_CHECK), L"プレビュー(&P)");
    EXPECT_EQ(ControlTextW(d, IDCANCEL), L"ｷｬﾝｾﾙ");
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageA(d, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_EQ(std::wstring(font.lfFaceName), L"ＭＳ Ｐゴシック");
    // In this template the preview check box comes before the pane.
    EXPECT_EQ(GetWindow(GetDlgItem(d, IDC_PREVIEW_CHECK), GW_HWNDNEXT), GetDlgItem(d, IDC_PREVIEW_PANE));
  }});
}

TEST_F(PosterizationDialog_, OpensWithTheStoredCountOrEight) {
  RunThenCancel({[](HWND d) {
    EXPECT_TRUE(ShowsLevels(d, 8));
    EXPECT_TRUE(IsChecked(d, IDC_PREVIEW_CHECK));
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_DIVISION_SLIDER, TBM_GETRANGEMIN, 0, 0), 2);
    EXPECT_EQ(SendDlgItemMessageA(d, IDC_DIVISION_SLIDER, TBM_GETRANGEMAX, 0, 0), 255);
    int low = 0, high = 0;
    SendDlgItemMessageA(d, IDC_DIVISION_SPIN, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                        reinterpret_cast<LPARAM>(&high));
    EXPECT_EQ(low, 2);
    EXPECT_EQ(high, 255);
  }});
  for (const char* stored : {"1", "0", "256"}) {
    plugin.WriteSetting("Posterization", "division", stored);
    RunThenCancel({[&](HWND d) {
      EXPECT_TRUE(ShowsLevels(d, 8)) << "stored " << stored;
    }});
  }
  plugin.WriteSetting("Posterization", "division", 200);
  plugin.WriteSetting("Posterization", "preview", 0);
  RunThenCancel({[](HWND d) {
    EXPECT_TRUE(ShowsLevels(d, 200));
    EXPECT_FALSE(IsChecked(d, IDC_PREVIEW_CHECK));
  }});
}

TEST_F(PosterizationDialog_, TrackbarStepsFromTheAcceptedCountWithinTwoTo255) {
  RunThenCancel({[](HWND d) {
    struct Step {
      int from;
      int code, thumb;
      int to;
    };
    const Step steps[] = {
        {2, TB_LINEUP, 0, 2},  // 1 is written and rejected
        {255, TB_LINEDOWN, 0, 255},  // so is 256
        {100, TB_LINEUP, 0, 99},      {100, TB_LINEDOWN, 0, 101},
        {20, TB_PAGEUP, 0, 2},        {240, TB_PAGEDOWN, 0, 255},
        {100, TB_PAGEUP, 0, 68},      {100, TB_PAGEDOWN, 0, 132},
        {100, TB_TOP, 0, 255},        {100, TB_BOTTOM, 0, 2},
        {100, TB_THUMBTRACK, 77, 77}, {100, TB_ENDTRACK, 0, 100},
    };
    for (const Step& s : steps) {
      // The trackbar sets each start value at once, whatever the box held.
      ScrollTrackbar(d, IDC_DIVISION_SLIDER, TB_THUMBPOSITION, s.from);
      ASSERT_TRUE(ShowsLevels(d, s.from));
      ScrollTrackbar(d, IDC_DIVISION_SLIDER, s.code, s.thumb);
      EXPECT_TRUE(ShowsLevels(d, s.to)) << "code " << s.code << " from " << s.from;
    }
    // The trackbar's own Page Up key: a page is 32 whatever the control's page size.
    ScrollTrackbar(d, IDC_DIVISION_SLIDER, TB_THUMBPOSITION, 100);
    PressKey(d, IDC_DIVISION_SLIDER, VK_PRIOR);
    EXPECT_TRUE(ShowsLevels(d, 68));
  }});
}

TEST_F(PosterizationDialog_, EveryTypedTextIsCheckedAtOnce) {
  struct Step {
    const char* keys;  // typed, after selecting the whole text when `all`; "" leaves the box
    bool all;
    const char* text;
    int caret, trackbar, paints;
  };
  const Step steps[] = {
      {"1", true, "1", 1, 8, 0},  // the first digit of 16 waits for the next
      {"6", false, "16", 2, 16, 1},
      {"\b", true, "", 0, 16, 0},  // so does an empty box, until the focus leaves it
      {"", false, "16", 2, 16, 1},
      {"130", true, "130", 3, 130, 2},
      {"\b\b\b", false, "", 0, 13, 1},  // 13, then 1 and nothing on the way to 77
      {"77", false, "77", 2, 77, 2},
      {"25", true, "25", 2, 25, 2},
      {"6", false, "25", 2, 25, 1},  // 256 is put back with the caret after it
      {"0", false, "250", 3, 250, 1},
  };
  const DriveResult r = Run({[&](HWND d) {
    for (const Step& s : steps) {
      SCOPED_TRACE(std::string(s.keys) + " gives " + s.text);
      const int before = PreviewPaints();
      if (*s.keys) TypeKeys(d, IDC_DIVISION_EDIT, s.keys, s.all);
      else SetFocus(GetDlgItem(d, IDC_DIVISION_SLIDER));
      EXPECT_EQ(ControlText(d, IDC_DIVISION_EDIT), s.text);
      EXPECT_EQ(Caret(d, IDC_DIVISION_EDIT), s.caret);
      EXPECT_EQ(TrackbarPos(d, IDC_DIVISION_SLIDER), s.trackbar);
      EXPECT_EQ(PreviewPaints() - before, s.paints);
    }
    SetEditText(d, IDC_DIVISION_EDIT, "x");  // pasted
    EXPECT_TRUE(ShowsLevels(d, 250));
    TypeKeys(d, IDC_DIVISION_EDIT, "1", true);  // and Enter saves 250, not 1
    PostMessageA(GetDlgItem(d, IDC_DIVISION_EDIT), WM_KEYDOWN, VK_RETURN, 0x001C0001);
  }});
  EXPECT_EQ(r.returned, 1);
  EXPECT_EQ(plugin.SettingsText(), "[Posterization]\r\ndivision=250\r\npreview=1\r\n");
}

TEST_F(PosterizationDialog_, OkWritesDivisionThenPreviewAndFlushes) {
  RunThenOk({[](HWND d) {
    TypeKeys(d, IDC_DIVISION_EDIT, "37", true);
    ClickButton(d, IDC_PREVIEW_CHECK);
  }});
  EXPECT_EQ(ProfileWriteTexts(), (std::vector<std::string>{"Posterization/division=37",
                                                          "Posterization/preview=0",
                                                          "<null>/<null>=<null>"}));
  EXPECT_EQ(plugin.SettingsText(), "[Posterization]\r\ndivision=37\r\npreview=0\r\n");
}

TEST_F(PosterizationDialog_, CancelWritesNothing) {
  ExpectCancelWritesNothing([](HWND d) { TypeKeys(d, IDC_DIVISION_EDIT, "37", true); });
}

TEST_F(PosterizationDialog_, PreviewIsThePosterizedImageOverTheBoard) {
  RunThenCancel({[this](HWND d) {
    HWND pane = PreviewPane(d);
    TypeKeys(d, IDC_DIVISION_EDIT, "2", true);
    const PanePicture two = CapturePane(pane);
    EXPECT_EQ(ComparePictures(two, ExpectedPane(two.width, two.height, image, PosterizedTo(2))), "");

    TypeKeys(d, IDC_DIVISION_EDIT, "55", false);  // 255
    const PanePicture fine = CapturePane(pane);
    EXPECT_EQ(ComparePictures(fine, ExpectedPane(fine.width, fine.height, image, PosterizedTo(255))), "");

    // Opaque pixels: two levels give 0 or 255, 255 levels stay within 1 of the source.
    const int opaque = ForEachOpaquePixel(image, two, [](int x, int y, const uint8_t*, uint32_t shown) {
      for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(PaneChannel(shown, k) == 0 || PaneChannel(shown, k) == 255) << x << ", " << y;
      }
    });
    ForEachOpaquePixel(image, fine, [](int x, int y, const uint8_t* s, uint32_t shown) {
      for (int k = 0; k < 3; ++k) ASSERT_LE(std::abs(PaneChannel(shown, k) - s[k]), 1) << x << ", " << y;
    });
    EXPECT_GT(opaque, 100);
  }});
}

}  // namespace
