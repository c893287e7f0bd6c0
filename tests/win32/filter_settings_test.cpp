// The filters read their settings file on every run: valid values at the limits take
// effect, values beyond them end the run with one error message and nothing written.
#include <gtest/gtest.h>

#include "filter_run.h"
#include "resources/texts_cp932.h"
#include "support/host_log.h"

namespace {

const HWND kHostWindow = reinterpret_cast<HWND>(0x1234);
const PixelRegion kRegion{2, 1, 19, 12};

class FilterSettings : public ::testing::Test {
 protected:
  void SetUp() override { plugin.CaptureMessageBoxes(); }

  // Runs the filter in place and separately; each must follow `rule` without complaint.
  void ExpectRuns(int32_t index, const PixelRule& rule, const std::string& what) {
    for (bool inPlace : {false, true}) {
      ClearHostEvents();
      const FilterRun run = RunFilter(plugin, index, 21, 13, kRegion, inPlace, 3, kHostWindow);
      EXPECT_TRUE(RegionFiltered(run, rule)) << what;
      EXPECT_EQ(run.progress, ExpectedProgress(kRegion)) << what;
      EXPECT_TRUE(HostEvents().empty()) << what;
    }
  }

  // The run must tell the host (query 5, 0), then show exactly one error box owned by
  // the host's window, and write nothing, report no rows.
  void ExpectRefused(int32_t index, const std::string& what) {
    for (bool inPlace : {false, true}) {
      ClearHostEvents();
      const FilterRun run = RunFilter(plugin, index, 21, 13, kRegion, inPlace, 4, kHostWindow);
      EXPECT_TRUE(NothingWritten(run)) << what;
      EXPECT_EQ(run.progress, (std::vector<int32_t>{0, 10000})) << what;
      EXPECT_TRUE(FilterErrorReported(kHostWindow, kInvalidSettingsMessage)) << what;
    }
  }

  PluginLibrary plugin;
};

// --- Solarization ------------------------------------------------------------------

TEST_F(FilterSettings, SolarizationThresholdFromZeroTo255) {
  for (int threshold : {0, 1, 128, 254, 255}) {
    plugin.WriteSetting("Solarization", "threshold", threshold);
    ExpectRuns(kSolarizationIndex, [=](Pixel p) { return ExpectedSolarization(p, threshold, 0); },
               "threshold " + std::to_string(threshold));
  }
}

TEST_F(FilterSettings, SolarizationThresholdBeyondTheLimitsIsRefused) {
  for (const char* threshold : {"-1", "256", "100000", "-2147483648"}) {
    plugin.WriteSetting("Solarization", "threshold", threshold);
    ExpectRefused(kSolarizationIndex, std::string("threshold ") + threshold);
  }
}

TEST_F(FilterSettings, SolarizationChannelPicksOneOrAllThree) {
  plugin.WriteSetting("Solarization", "threshold", 90);
  for (int channel : {0, 1, 2, 3, 7, -1, 4}) {
    plugin.WriteSetting("Solarization", "channel", channel);
    ExpectRuns(kSolarizationIndex, [=](Pixel p) { return ExpectedSolarization(p, 90, channel); },
               "channel " + std::to_string(channel));
  }
}

TEST_F(FilterSettings, SolarizationThresholdZeroInvertsGreenEverywhereOnChannelTwo) {
  plugin.WriteSetting("Solarization", "threshold", 0);
  plugin.WriteSetting("Solarization", "channel", 2);
  ExpectRuns(kSolarizationIndex, [](Pixel p) { return Pixel{p.b, uint8_t(255 - p.g), p.r, p.a}; },
             "green only");
}

// --- Posterization -----------------------------------------------------------------

TEST_F(FilterSettings, PosterizationLevelCountsFromTwoTo255) {
  for (int levels = 2; levels <= 255; levels += levels < 10 || levels > 250 ? 1 : 17) {
    plugin.WriteSetting("Posterization", "division", levels);
    ExpectRuns(kPosterizationIndex, [=](Pixel p) { return ExpectedPosterization(p, levels); },
               "division " + std::to_string(levels));
  }
}

TEST_F(FilterSettings, PosterizationLevelCountBeyondTheLimitsIsRefused) {
  for (const char* levels : {"1", "0", "-1", "256", "many"}) {
    plugin.WriteSetting("Posterization", "division", levels);
    ExpectRefused(kPosterizationIndex, std::string("division ") + levels);
  }
}

// --- Cut Low Bit ---------------------------------------------------------------------

TEST_F(FilterSettings, CutLowBitEachCountFromZeroToSeven) {
  const char* keys[] = {"rmask", "gmask", "bmask"};
  for (int k = 0; k < 3; ++k) {
    for (int bits : {0, 1, 6, 7}) {
      int counts[3] = {2, 2, 2};  // the other two clear something, so the filter runs
      counts[k] = bits;
      for (int i = 0; i < 3; ++i) plugin.WriteSetting("CutLBit", keys[i], counts[i]);
      ExpectRuns(kCutLowBitIndex,
                 [=](Pixel p) { return ExpectedCutLowBit(p, counts[0], counts[1], counts[2]); },
                 std::string(keys[k]) + " " + std::to_string(bits));
    }
  }
}

TEST_F(FilterSettings, CutLowBitRedTopBitGreenCopiedBlueToEights) {
  plugin.WriteSetting("CutLBit", "rmask", 7);
  plugin.WriteSetting("CutLBit", "gmask", 0);
  plugin.WriteSetting("CutLBit", "bmask", 3);
  ExpectRuns(kCutLowBitIndex, [](Pixel p) { return ExpectedCutLowBit(p, 7, 0, 3); }, "7,0,3");
}

TEST_F(FilterSettings, CutLowBitCountBeyondTheLimitsIsRefused) {
  for (const char* key : {"rmask", "gmask", "bmask"}) {
    for (const char* bits : {"-1", "8"}) {
      plugin.RemoveSettings();
      plugin.WriteSetting("CutLBit", key, bits);
      ExpectRefused(kCutLowBitIndex, std::string(key) + " " + bits);
    }
  }
}

TEST_F(FilterSettings, CutLowBitWithNothingToClearLeavesTheDestinationAsProvided) {
  for (const char* key : {"rmask", "gmask", "bmask"}) plugin.WriteSetting("CutLBit", key, 0);
  for (bool inPlace : {false, true}) {
    ClearHostEvents();
    const FilterRun run = RunFilter(plugin, kCutLowBitIndex, 21, 13, kRegion, inPlace);
    EXPECT_TRUE(NothingWritten(run));
    EXPECT_EQ(run.progress, (std::vector<int32_t>{0, 10000}));
    EXPECT_TRUE(HostEvents().empty());
  }
}

// --- Every run reads the file afresh --------------------------------------------------

TEST_F(FilterSettings, EachRunReadsTheFileAgain) {
  plugin.WriteSetting("Posterization", "division", 1);
  ExpectRefused(kPosterizationIndex, "division 1");
  plugin.WriteSetting("Posterization", "division", 3);
  ExpectRuns(kPosterizationIndex, [](Pixel p) { return ExpectedPosterization(p, 3); }, "division 3");
  plugin.RemoveSettings();
  ExpectRuns(kPosterizationIndex, PosterizeDefault, "defaults");
}

}  // namespace
