// The Solarization dialog driven as a user would: through PBF_Setup, from inside its
// modal loop, with the settings file and the preview pane read back.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

class SolarizationDialog_ : public ::testing::Test {
 protected:
  DriveResult Run(std::vector<DialogStep> steps) { return Run(image, std::move(steps)); }
  DriveResult Run(const TestImage& shown, std::vector<DialogStep> steps) {
    DriveResult r = DriveDialog(
        [&] { return plugin.Setup(0, host, shown.data(), shown.width, shown.height); },
        std::move(steps));
    EXPECT_TRUE(r.dialogSeen);
    EXPECT_FALSE(r.watchdogFired);
    return r;
  }

  PluginLibrary plugin;
  HostWindow host;
  TestImage image = ColourfulImage(40, 30);
};

TEST_F(SolarizationDialog_, OpensWithDefaultsWithoutASettingsFile) {
  const DriveResult r = Run({
      [](HWND d) {
        EXPECT_EQ(ControlText(d, IDC_THRESHOLD_EDIT), "230");
        EXPECT_EQ(TrackbarPos(d, IDC_THRESHOLD_SLIDER), 230);
        EXPECT_EQ(ComboItems(d, IDC_CHANNEL_COMBO),
                  (std::vector<std::string>{"RGB", "R", "G", "B"}));
        EXPECT_EQ(ComboSelection(d, IDC_CHANNEL_COMBO), 0);
        EXPECT_TRUE(IsChecked(d, IDC_PREVIEW_CHECK));
      },
      [](HWND d) { ClickButton(d, IDOK); },
  });
  EXPECT_EQ(r.returned, 1);
  EXPECT_EQ(plugin.SettingsText(), "[Solarization]\r\nthreshold=230\r\nchannel=0\r\npreview=1\r\n");
}

}  // namespace
