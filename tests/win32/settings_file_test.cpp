// The settings file next to the module, through the platform's private-profile functions.
#include <gtest/gtest.h>

#include <cstring>

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

TEST_F(SettingsFile, LiesNextToTheModule) {
  char path[kSettingsPathSize];
  EXPECT_EQ(GetSettingsPath(path, sizeof path), path);
  EXPECT_EQ(std::string(path), plugin.SettingsPath());
}

TEST_F(SettingsFile, PathThatDoesNotFitIsEmptyAndNothingIsWrittenPastTheBuffer) {
  const std::string full = plugin.SettingsPath();
  char buffer[kSettingsPathSize + 8];
  for (int size : {1, 10, static_cast<int>(full.size() - 13), static_cast<int>(full.size())}) {
    std::memset(buffer, 'x', sizeof buffer);
    GetSettingsPath(buffer, size);
    EXPECT_STREQ(buffer, "") << size;
    for (size_t k = size; k < sizeof buffer; ++k) ASSERT_EQ(buffer[k], 'x') << size;
  }
  std::memset(buffer, 'x', sizeof buffer);
  GetSettingsPath(buffer, static_cast<int>(full.size() + 1));  // exactly fits with its NUL
  EXPECT_EQ(std::string(buffer), full);
}

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

TEST_F(SettingsFile, WritesDecimalTextAndFlushes) {
  char path[kSettingsPathSize];
  GetSettingsPath(path, sizeof path);
  WriteSettingsInt("Posterization", "division", -5, path);
  WriteSettingsString("Posterization", "preview", "0", path);
  FlushSettings(path);
  EXPECT_EQ(plugin.SettingsText(), "[Posterization]\r\ndivision=-5\r\npreview=0\r\n");
  EXPECT_EQ(ReadPosterizationSettings().division, -5);
}

TEST_F(SettingsFile, EmptyPathWritesNothing) {
  WriteSettingsInt("Posterization", "division", 3, "");
  FlushSettings("");
  EXPECT_EQ(plugin.SettingsText(), "");
}

}  // namespace
