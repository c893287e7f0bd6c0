// The settings file next to the module, through the platform's private-profile functions.
#include <gtest/gtest.h>

#include <string>

#include "plugin/filter_registry.h"
#include "settings/settings_file.h"
#include "support/plugin_library.h"

namespace {

class SettingsFile : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Registry->Init(plugin.Module()), 1); }
  void TearDown() override { Registry->Init(nullptr); }
  PluginLibrary plugin;  // a module in a folder with a Japanese name
};

TEST_F(SettingsFile, LiesNextToTheModule) { EXPECT_EQ(SettingsPath(), plugin.SettingsPathW()); }

TEST_F(SettingsFile, DefaultsWithoutAFile) {
  const SolarizationSettings s = ReadSolarizationSettings();
  EXPECT_EQ(s.threshold, 230);
  EXPECT_EQ(s.channel, 0);
  EXPECT_EQ(s.preview, 1);
  const PosterizationSettings p = ReadPosterizationSettings();
  EXPECT_EQ(p.division, 8);
  EXPECT_EQ(p.preview, 1);
  const CutLowBitSettings c = ReadCutLowBitSettings();
  EXPECT_EQ(c.rmask, 1);
  EXPECT_EQ(c.gmask, 1);
  EXPECT_EQ(c.bmask, 1);
  EXPECT_EQ(c.link, 1);
  EXPECT_EQ(c.preview, 1);
}

TEST_F(SettingsFile, ReadsSignedNumbersAndZeroForText) {
  plugin.WriteSetting("Solarization", "threshold", "-1");
  plugin.WriteSetting("Solarization", "channel", "7");
  plugin.WriteSetting("Solarization", "preview", "abc");
  plugin.WriteSetting("posterization", "DIVISION", "12abc");  // names match without case
  plugin.WriteSetting("CutLBit", "gmask", "-2147483648");
  const SolarizationSettings s = ReadSolarizationSettings();
  EXPECT_EQ(s.threshold, -1);
  EXPECT_EQ(s.channel, 7);
  EXPECT_EQ(s.preview, 0);
  EXPECT_EQ(ReadPosterizationSettings().division, 12);
  const CutLowBitSettings c = ReadCutLowBitSettings();
  EXPECT_EQ(c.rmask, 1);
  EXPECT_EQ(c.gmask, INT32_MIN);
}

TEST_F(SettingsFile, CreatesAnAnsiFileWithDecimalText) {
  SettingsWriter settings;
  settings.WriteInt("Posterization", "division", -5);
  settings.WriteFlag("Posterization", "preview", false);
  EXPECT_TRUE(settings.Flush());
  EXPECT_EQ(settings.Path(), plugin.SettingsPathW());
  EXPECT_EQ(plugin.SettingsText(), "[Posterization]\r\ndivision=-5\r\npreview=0\r\n");
  EXPECT_EQ(ReadPosterizationSettings().division, -5);
}

TEST_F(SettingsFile, SaveFailsWhenTheFileCannotBeWrittenOrThereIsNoPath) {
  // The settings file's name taken by a folder, and no path at all.
  ASSERT_TRUE(CreateDirectoryW(plugin.SettingsPathW().c_str(), nullptr));
  SettingsWriter blocked;
  blocked.WriteInt("Posterization", "division", 3);
  EXPECT_FALSE(blocked.Flush());
  RemoveDirectoryW(plugin.SettingsPathW().c_str());
  SettingsWriter nowhere{std::wstring()};
  nowhere.WriteInt("Posterization", "division", 3);
  EXPECT_FALSE(nowhere.Flush());
  EXPECT_EQ(plugin.SettingsText(), "");
}

}  // namespace
