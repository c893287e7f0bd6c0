// One run of a filter through the plug-in's PBF_Execute on a random image, and the
// checks every filter test makes of it. Expected pixels come from the tests' own rules
// (tests/reference/filter_reference.h), not from the module.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "support/plugin_library.h"
#include "tests/reference/filter_reference.h"

inline constexpr int32_t kSolarizationIndex = 0, kPosterizationIndex = 1, kCutLowBitIndex = 2;

struct FilterRun {
  int32_t width = 0, height = 0;
  PixelRegion region{};
  bool inPlace = false;
  std::vector<Pixel> source;       // as handed to the plug-in
  std::vector<Pixel> before;       // the destination before the run
  std::vector<Pixel> destination;  // the destination after the run
  std::vector<int32_t> progress;   // positions reported, in order
  int32_t result = 0;              // PBF_Execute's result
};

// Runs filter `index` over `region` of a random `width` x `height` image (seeded by
// `seed`), in place or into a separate destination filled with other random pixels.
FilterRun RunFilter(const PluginLibrary& plugin, int32_t index, int32_t width, int32_t height,
                    PixelRegion region, bool inPlace, uint32_t seed = 1,
                    HWND window = nullptr);

// Every pixel inside the region is rule(source), every other keeps its value.
::testing::AssertionResult RegionFiltered(const FilterRun& run, const PixelRule& rule);
// The destination is exactly as before the run.
::testing::AssertionResult NothingWritten(const FilterRun& run);
// Progress 0, then k * 10000 / h after each row k of the region, then 10000.
std::vector<int32_t> ExpectedProgress(const PixelRegion& region);
