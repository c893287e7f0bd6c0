// The plug-in where users put it: folders whose names the system's ANSI code page
// cannot spell, and paths longer than 259 bytes in it. CTest runs this program under
// the Japanese code page (932) and again under a Western one (1252).
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "filter_run.h"
#include "resources/resource.h"
#include "resources/texts_cp932.h"
#include "support/dialog_driver.h"
#include "support/host_log.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

const std::wstring kErrorCaption = L"\u30A8\u30E9\u30FC";  // エラー
// 設定ファイルに書かれた値が不正です。
const std::wstring kInvalidSettings =
    L"\u8A2D\u5B9A\u30D5\u30A1\u30A4\u30EB\u306B\u66F8\u304B\u308C\u305F\u5024\u304C\u4E0D\u6B63"
    L"\u3067\u3059\u3002";
// 設定を保存できませんでした。
const std::wstring kNotSaved =
    L"\u8A2D\u5B9A\u3092\u4FDD\u5B58\u3067\u304D\u307E\u305B\u3093\u3067\u3057\u305F\u3002";

// Three folders of 長いソフトのフォルダ x 4 (ソ's second byte is a backslash in code
// page 932): with the temporary folder in front, well past 259 bytes there.
std::wstring LongJapanesePath() {
  std::wstring level;
  for (int i = 0; i < 4; ++i) level += L"\u9577\u3044\u30BD\u30D5\u30C8\u306E\u30D5\u30A9\u30EB\u30C0";
  return level + L"\\" + level + L"\\" + level;
}

size_t Cp932Bytes(const std::wstring& text) {
  return static_cast<size_t>(WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()),
                                                 nullptr, 0, nullptr, nullptr));
}

// The run has the ANSI code page it was started for (tools/wine-run's WINE_RUN_LANG).
TEST(CodePage, IsTheOneTheRunAskedFor) {
  char lang[32] = "";
  GetEnvironmentVariableA("WINE_RUN_LANG", lang, sizeof lang);
  EXPECT_EQ(GetACP(), std::string(lang) == "C.UTF-8" ? 1252u : 932u) << lang;
}

struct Folder {
  const char* label;  // for test names and failure messages
  std::wstring name;
};
void PrintTo(const Folder& folder, std::ostream* out) { *out << folder.label; }

class ForeignFolders : public ::testing::TestWithParam<Folder> {
 protected:
  void SetUp() override { plugin.CaptureMessageBoxes(); }

  PluginLibrary plugin{GetParam().name};
  HostWindow host;
  TestImage image = ColourfulImage(24, 16);
};

TEST_P(ForeignFolders, RunsAndSavesWithTheSettingsBesideTheModule) {
  if (GetParam().name == LongJapanesePath()) {
    ASSERT_GT(Cp932Bytes(plugin.SettingsPathW()), 259u);
  }
  plugin.WriteSetting("Posterization", "division", "4");
  const FilterRun run = RunFilter(plugin, kPosterizationIndex, 13, 7, {0, 0, 13, 7}, false);
  EXPECT_TRUE(RegionFiltered(run, [](Pixel p) { return ExpectedPosterization(p, 4); }));
  EXPECT_TRUE(HostEvents().empty());

  std::string shown;
  const DriveResult r = DriveDialog(
      [&] { return plugin.Setup(kPosterizationIndex, host, image.data(), image.width, image.height); },
      {[&](HWND d) {
        shown = ControlText(d, IDC_DIVISION_EDIT);
        SetEditText(d, IDC_DIVISION_EDIT, "6");
        PressOk(d);
      }});
  EXPECT_EQ(r.returned, 1);
  EXPECT_EQ(shown, "4");
  // Still an ANSI file, as the plug-in has always written it.
  EXPECT_EQ(plugin.SettingsText(), "[Posterization]\r\ndivision=6\r\npreview=1\r\n");
}

// The filter's error reads the same on every system.
TEST_P(ForeignFolders, FilterErrorShowsItsTextInUtf16) {
  plugin.WriteSetting("Posterization", "division", "1");
  const HWND window = reinterpret_cast<HWND>(0x2468);
  const FilterRun run = RunFilter(plugin, kPosterizationIndex, 5, 3, {0, 0, 5, 3}, false, 1, window);
  EXPECT_TRUE(NothingWritten(run));
  ASSERT_TRUE(FilterErrorReported(window, kInvalidSettingsMessage));
  EXPECT_EQ(HostEvents()[1].wideText, kInvalidSettings);
  EXPECT_EQ(HostEvents()[1].wideCaption, kErrorCaption);
}

// With zodederor.ini a folder, OK says so and the dialog stays for Cancel; once the
// folder is gone, OK saves.
TEST_P(ForeignFolders, OkThatCannotSaveSaysSoAndKeepsTheDialogOpen) {
  for (int32_t index : {kSolarizationIndex, kPosterizationIndex, kCutLowBitIndex}) {
    SCOPED_TRACE(index);
    ClearHostEvents();
    ASSERT_TRUE(CreateDirectoryW(plugin.SettingsPathW().c_str(), nullptr));
    HWND owner = nullptr;
    bool openAfterOk = false;
    size_t boxes = 0;
    DriveResult r = DriveDialog(
        [&] { return plugin.Setup(index, host, image.data(), image.width, image.height); },
        {[&](HWND d) {
           owner = d;
           PressOk(d);
         },
         [&](HWND d) {
           openAfterOk = IsWindowVisible(d) != FALSE;
           boxes = HostEvents().size();
           Cancel(d);
         }});
    EXPECT_EQ(r.stepsDone, 2);
    EXPECT_EQ(r.returned, 0);
    EXPECT_TRUE(openAfterOk);
    ASSERT_EQ(boxes, 1u);
    const HostEvent& box = HostEvents()[0];
    EXPECT_EQ(box.owner, owner);
    EXPECT_EQ(box.wideText, kNotSaved + L"\n" + plugin.SettingsPathW());
    EXPECT_EQ(box.wideCaption, kErrorCaption);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONERROR));

    ASSERT_TRUE(RemoveDirectoryW(plugin.SettingsPathW().c_str()));
    r = DriveDialog([&] { return plugin.Setup(index, host, image.data(), image.width, image.height); },
                    {PressOk});
    EXPECT_EQ(r.returned, 1);
    EXPECT_EQ(HostEvents().size(), 1u);
    EXPECT_NE(plugin.SettingsText().find("preview=1"), std::string::npos);
    plugin.RemoveSettings();
  }
}

INSTANTIATE_TEST_SUITE_P(Folders, ForeignFolders,
                         ::testing::Values(Folder{"Cafe", L"caf\u00E9"},
                                           Folder{"Hangul", L"\uD55C\uAE00 \uD3F4\uB354"},  // 한글 폴더
                                           Folder{"LongJapanese", LongJapanesePath()}),
                         [](const ::testing::TestParamInfo<Folder>& info) { return std::string(info.param.label); });

}  // namespace
