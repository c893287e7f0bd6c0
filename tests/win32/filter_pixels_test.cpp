// The three filters through PBF_Execute of the real plug-in: pixels inside the region
// follow the rule, pixels outside are untouched, in place or into a separate buffer,
// with progress after every row.
#include <gtest/gtest.h>

#include "filter_run.h"
#include "support/host_log.h"

namespace {

struct FilterCase {
  int32_t index;
  const char* name;
  PixelRule defaults;  // the rule with the settings a missing file gives
};

const FilterCase kFilters[] = {
    {kSolarizationIndex, "Solarization", SolarizeDefault},
    {kPosterizationIndex, "Posterization", PosterizeDefault},
    {kCutLowBitIndex, "Cut Low Bit", CutLowBitDefault},
};

class FilterPixels : public ::testing::Test {
 protected:
  PluginLibrary plugin;
};

TEST_F(FilterPixels, WithoutSettingsFileEachFilterRunsWithItsDefaults) {
  ASSERT_TRUE(plugin.SettingsText().empty());
  for (const FilterCase& f : kFilters) {
    for (bool inPlace : {false, true}) {
      const FilterRun run = RunFilter(plugin, f.index, 37, 23, {3, 2, 30, 20}, inPlace, 11);
      EXPECT_TRUE(RegionFiltered(run, f.defaults)) << f.name;
      EXPECT_EQ(run.progress, ExpectedProgress(run.region)) << f.name;
    }
  }
  EXPECT_TRUE(HostEvents().empty());
  EXPECT_TRUE(plugin.SettingsText().empty()) << "a run must not write the settings file";
}

TEST_F(FilterPixels, EveryRegionShapeTouchesOnlyTheRegion) {
  const PixelRegion regions[] = {
      {0, 0, 29, 17},   // whole image
      {5, 4, 6, 5},     // one pixel
      {0, 9, 29, 10},   // one row
      {13, 0, 14, 17},  // one column
      {1, 1, 28, 16},   // all but a border
      {7, 3, 26, 15},   // width 19: head, vectors and tail
  };
  for (const FilterCase& f : kFilters) {
    for (const PixelRegion& r : regions) {
      for (bool inPlace : {false, true}) {
        const FilterRun run = RunFilter(plugin, f.index, 29, 17, r, inPlace, uint32_t(r.left * 31 + r.top));
        EXPECT_TRUE(RegionFiltered(run, f.defaults))
            << f.name << " region " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
        EXPECT_EQ(run.progress, ExpectedProgress(r)) << f.name;
      }
    }
  }
}

TEST_F(FilterPixels, EveryStartColumnAndWidth) {
  for (const FilterCase& f : kFilters) {
    for (int32_t left = 0; left < 4; ++left) {
      for (int32_t w = 1; w <= 18; ++w) {
        const PixelRegion r{left, 1, left + w, 3};
        const FilterRun run = RunFilter(plugin, f.index, 23, 4, r, w % 2 == 0, uint32_t(w));
        ASSERT_TRUE(RegionFiltered(run, f.defaults)) << f.name << " left " << left << " width " << w;
      }
    }
  }
}

TEST_F(FilterPixels, EmptyRowsWriteNothingAndReportOnlyStartAndEnd) {
  for (const FilterCase& f : kFilters) {
    for (const PixelRegion& r : {PixelRegion{2, 5, 9, 5}, PixelRegion{0, 0, 10, 0}}) {
      const FilterRun run = RunFilter(plugin, f.index, 10, 8, r, false);
      EXPECT_TRUE(NothingWritten(run)) << f.name;
      EXPECT_EQ(run.progress, (std::vector<int32_t>{0, 10000})) << f.name;
    }
  }
}

TEST_F(FilterPixels, EmptyColumnsWriteNothingButReportEveryRow) {
  for (const FilterCase& f : kFilters) {
    const PixelRegion r{4, 1, 4, 8};
    const FilterRun run = RunFilter(plugin, f.index, 10, 8, r, true);
    EXPECT_TRUE(NothingWritten(run)) << f.name;
    EXPECT_EQ(run.progress, (std::vector<int32_t>{0, 0, 1428, 2857, 4285, 5714, 7142, 8571, 10000}))
        << f.name;
  }
}

TEST_F(FilterPixels, ProgressAfterThreeRowsIsTruncatedThirds) {
  const FilterRun run = RunFilter(plugin, kPosterizationIndex, 6, 5, {0, 1, 6, 4}, false);
  EXPECT_EQ(run.progress, (std::vector<int32_t>{0, 0, 3333, 6666, 10000}));
  EXPECT_EQ(run.result, 0);
}

TEST_F(FilterPixels, LargeSeparateImageStreamsTheSameResult) {
  // 4 MiB and more may go out with non-temporal stores; the result must not change.
  for (const FilterCase& f : kFilters) {
    const FilterRun run = RunFilter(plugin, f.index, 1031, 1029, {1, 2, 1030, 1029}, false, 5);
    EXPECT_TRUE(RegionFiltered(run, f.defaults)) << f.name;
    EXPECT_EQ(run.progress.size(), 1027u + 2) << f.name;
  }
}

}  // namespace
