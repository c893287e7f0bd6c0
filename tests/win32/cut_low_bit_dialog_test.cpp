// The Cut Low Bit dialog driven as a user would: through PBF_Setup with index 2, from
// inside its modal loop, with the settings file, the redraws and the preview read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "support/keyboard_and_spies.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/setup_dialog_test.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

constexpr int kBoxes[] = {IDC_RED_BITS_EDIT, IDC_GREEN_BITS_EDIT, IDC_BLUE_BITS_EDIT};
constexpr int kSpins[] = {IDC_RED_BITS_SPIN, IDC_GREEN_BITS_SPIN, IDC_BLUE_BITS_SPIN};

class CutLowBitDialog_ : public SpiedSetupDialogTest {
 protected:
  CutLowBitDialog_() : SpiedSetupDialogTest(2) {}

  void Store(int r, int g, int b, int link) {
    plugin.WriteSetting("CutLBit", "rmask", r);
    plugin.WriteSetting("CutLBit", "gmask", g);
    plugin.WriteSetting("CutLBit", "bmask", b);
    plugin.WriteSetting("CutLBit", "link", link);
  }
};

// The three boxes' texts, red to blue, as one string "r,g,b".
std::string Boxes(HWND d) {
  return ControlText(d, kBoxes[0]) + "," + ControlText(d, kBoxes[1]) + "," + ControlText(d, kBoxes[2]);
}

// Clearing the low bits, restated from its definition.
PixelRule CutTo(int r, int g, int b) {
  return [=](Pixel p) { return ExpectedCutLowBit(p, r, g, b); };
}

TEST_F(CutLowBitDialog_, TemplateTextsReadBackAsJapanese) {
  RunThenCancel({[](HWND d) {
    EXPECT_EQ(WindowTextW(d), L"下位ビット切り捨て");
    const wchar_t* const labels[] = {L"赤(&R):", L"緑(&G):", L"青(&B):"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(LabelText(d, kBoxes[i]), labels[i]);
    EXPECT_EQ(ControlTextW(d, IDC_LINK_CHECK), L"リンク(&L)");
    EXPECT_EQ(ControlTextW(d, IDC_PREVIEW_CHECK), L"プレビュー(&P)");
    EXPECT_EQ(ControlTextW(d, IDCANCEL), L"ｷｬﾝｾﾙ");
  }});
}

TEST_F(CutLowBitDialog_, OpensWithOnesAndBothBoxesCheckedWithoutAFile) {
  RunThenCancel({[](HWND d) {
    EXPECT_EQ(Boxes(d), "1,1,1");
    EXPECT_TRUE(IsChecked(d, IDC_LINK_CHECK));
    EXPECT_TRUE(IsChecked(d, IDC_PREVIEW_CHECK));
    for (int spin : kSpins) {
      // Maximum 7 in the low word, minimum 0 in the high word.
      EXPECT_EQ(SendDlgItemMessageA(d, spin, UDM_GETRANGE, 0, 0), MAKELONG(7, 0)) << spin;
    }
  }});
}

TEST_F(CutLowBitDialog_, StoredCountsOutsideZeroToSevenOpenAsOne) {
  Store(9, -1, 4, 0);
  plugin.WriteSetting("CutLBit", "preview", 0);
  RunThenCancel({[](HWND d) {
    EXPECT_EQ(Boxes(d), "1,1,4");
    EXPECT_FALSE(IsChecked(d, IDC_LINK_CHECK));
    EXPECT_FALSE(IsChecked(d, IDC_PREVIEW_CHECK));
  }});
}

TEST_F(CutLowBitDialog_, LinkCopiesTheNextAcceptedChangeWithOneRedraw) {
  Store(3, 5, 7, 1);
  RunThenCancel({[](HWND d) {
    EXPECT_EQ(Boxes(d), "3,5,7");  // the link acts only on a change
    EXPECT_TRUE(IsChecked(d, IDC_LINK_CHECK));
    ClickButton(d, IDC_LINK_CHECK);
    ClickButton(d, IDC_LINK_CHECK);
    EXPECT_EQ(Boxes(d), "3,5,7");
    const int before = PreviewPaints();
    TypeKeys(d, IDC_GREEN_BITS_EDIT, "2", true);
    EXPECT_EQ(Boxes(d), "2,2,2");
    EXPECT_EQ(PreviewPaints() - before, 1);
  }});
}

TEST_F(CutLowBitDialog_, RejectedEntryWithTheLinkOnRestoresAndCopies) {
  Store(3, 5, 7, 1);
  RunThenCancel({[](HWND d) {
    PlaceCaret(d, IDC_GREEN_BITS_EDIT, 1);
    TypeKeys(d, IDC_GREEN_BITS_EDIT, "9", false);  // 59
    EXPECT_EQ(Boxes(d), "5,5,5");
  }});
}

TEST_F(CutLowBitDialog_, EmptiedBoxCountsAsZeroAndKeepsItsKeyOnOk) {
  Store(3, 5, 7, 0);
  RunThenOk({[this](HWND d) {
    TypeKeys(d, IDC_RED_BITS_EDIT, "\b", true);
    EXPECT_EQ(Boxes(d), ",5,7");  // stays empty
    EXPECT_EQ(PaneDiffers(d, image, CutTo(0, 5, 7)), "");
  }});
  EXPECT_EQ(ProfileWriteTexts(), (std::vector<std::string>{"CutLBit/gmask=5", "CutLBit/bmask=7",
                                                           "CutLBit/link=0", "CutLBit/preview=1",
                                                           "<null>/<null>=<null>"}));
  EXPECT_EQ(plugin.SettingsText(), "[CutLBit]\r\nrmask=3\r\ngmask=5\r\nbmask=7\r\nlink=0\r\npreview=1\r\n");
}

TEST_F(CutLowBitDialog_, EmptiedBoxWithTheLinkOnZeroesTheOtherTwoAndWaitsForADigit) {
  Store(3, 5, 7, 1);
  RunThenCancel({[](HWND d) {
    TypeKeys(d, IDC_BLUE_BITS_EDIT, "\b", true);
    EXPECT_EQ(Boxes(d), "0,0,");  // the edited box keeps its text
    TypeKeys(d, IDC_BLUE_BITS_EDIT, "3", false);
    EXPECT_EQ(Boxes(d), "3,3,3");
    EXPECT_EQ(Caret(d, IDC_BLUE_BITS_EDIT), 1);  // and its caret
  }});
}

TEST_F(CutLowBitDialog_, UpDownArrowsStopAtZeroAndSeven) {
  Store(7, 0, 1, 0);
  RunThenCancel({[](HWND d) {
    PressKey(d, IDC_RED_BITS_EDIT, VK_UP);
    PressKey(d, IDC_GREEN_BITS_EDIT, VK_DOWN);
    PressKey(d, IDC_BLUE_BITS_EDIT, VK_UP);
    EXPECT_EQ(Boxes(d), "7,0,2");
    PressKey(d, IDC_RED_BITS_EDIT, VK_DOWN);
    EXPECT_EQ(Boxes(d), "6,0,2");
  }});
}

TEST_F(CutLowBitDialog_, OkWritesTheFiveKeysInOrderAndFlushes) {
  RunThenOk({[](HWND d) {
    ClickButton(d, IDC_LINK_CHECK);
    TypeKeys(d, IDC_BLUE_BITS_EDIT, "6", true);
  }});
  EXPECT_EQ(ProfileWriteTexts(), (std::vector<std::string>{"CutLBit/rmask=1", "CutLBit/gmask=1",
                                                           "CutLBit/bmask=6", "CutLBit/link=0",
                                                           "CutLBit/preview=1", "<null>/<null>=<null>"}));
}

TEST_F(CutLowBitDialog_, CancelWritesNothing) {
  ExpectCancelWritesNothing([](HWND d) { TypeKeys(d, IDC_RED_BITS_EDIT, "5", true); });
}

TEST_F(CutLowBitDialog_, PastedNegativeCountNeverReachesTheFile) {
  Store(3, 5, 7, 0);
  Run({[](HWND d) {
    SetEditText(d, IDC_RED_BITS_EDIT, "-2");
    PressOk(d);
  }});
  const UINT stored = GetPrivateProfileIntA("CutLBit", "rmask", 99, plugin.SettingsPath().c_str());
  EXPECT_LE(static_cast<int>(stored), 7);
  EXPECT_GE(static_cast<int>(stored), 0);
}

TEST_F(CutLowBitDialog_, PreviewClearsTheCountedBitsOverTheBoard) {
  RunThenCancel({[this](HWND d) {
    TypeKeys(d, IDC_RED_BITS_EDIT, "0", true);  // linked: all three
    EXPECT_EQ(PaneDiffers(d, image, Unchanged), "");

    TypeKeys(d, IDC_RED_BITS_EDIT, "7", true);
    const PanePicture p = CapturePane(PreviewPane(d));
    EXPECT_EQ(ComparePictures(p, ExpectedPane(p.width, p.height, image, CutTo(7, 7, 7))), "");
    ForEachOpaquePixel(image, p, [](int x, int y, const uint8_t*, uint32_t shown) {
      for (int k = 0; k < 3; ++k) {
        ASSERT_TRUE(PaneChannel(shown, k) == 0 || PaneChannel(shown, k) == 128) << x << ", " << y;
      }
    });

    // With the link off, one channel at a time.
    ClickButton(d, IDC_LINK_CHECK);
    TypeKeys(d, IDC_GREEN_BITS_EDIT, "3", true);
    EXPECT_EQ(PaneDiffers(d, image, CutTo(7, 3, 7)), "");
  }});
}

}  // namespace
