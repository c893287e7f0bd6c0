#include "filter_run.h"

#include <cstring>
#include <sstream>

namespace {

constexpr int32_t kUserData = 0x5EED;
std::vector<int32_t>* recording = nullptr;

int32_t WINAPI RecordProgress(int32_t position, int32_t maximum, int32_t userData) {
  EXPECT_EQ(maximum, 10000);
  EXPECT_EQ(userData, kUserData);
  if (recording) recording->push_back(position);
  return 0;
}

std::vector<Pixel> RandomPixels(size_t count, uint32_t seed) {
  std::vector<Pixel> p(count);
  for (Pixel& px : p) {
    seed = seed * 1103515245u + 12345u;
    const uint32_t v = seed ^ (seed >> 15);
    px = Pixel{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)};
  }
  return p;
}

std::string Describe(const Pixel& p) {
  std::ostringstream s;
  s << "(b " << int(p.b) << ", g " << int(p.g) << ", r " << int(p.r) << ", a " << int(p.a) << ")";
  return s.str();
}

}  // namespace

FilterRun RunFilter(const PluginLibrary& plugin, int32_t index, int32_t width, int32_t height,
                    PixelRegion region, bool inPlace, uint32_t seed, HWND window) {
  FilterRun run;
  run.width = width;
  run.height = height;
  run.region = region;
  run.inPlace = inPlace;
  const size_t count = size_t(width) * height;
  run.source = RandomPixels(count, seed);
  run.before = inPlace ? run.source : RandomPixels(count, seed + 7777);
  run.destination = run.before;
  std::vector<Pixel> sourceCopy = run.source;
  const uint8_t* src = reinterpret_cast<const uint8_t*>(inPlace ? run.destination.data() : sourceCopy.data());
  uint8_t* dst = reinterpret_cast<uint8_t*>(run.destination.data());
  recording = &run.progress;
  run.result = plugin.Execute(index, window, src, dst, 0, &run.region, 0, width, 0, &RecordProgress, kUserData);
  recording = nullptr;
  if (!inPlace) {
    EXPECT_EQ(0, std::memcmp(sourceCopy.data(), run.source.data(), count * 4)) << "source changed";
  }
  return run;
}

::testing::AssertionResult RegionFiltered(const FilterRun& run, const PixelRule& rule) {
  const PixelRegion& r = run.region;
  for (int32_t y = 0; y < run.height; ++y) {
    for (int32_t x = 0; x < run.width; ++x) {
      const size_t i = size_t(y) * run.width + x;
      const bool inside = x >= r.left && x < r.right && y >= r.top && y < r.bottom;
      const Pixel expected = inside ? rule(run.source[i]) : run.before[i];
      if (run.destination[i] != expected) {
        return ::testing::AssertionFailure()
               << (inside ? "inside" : "outside") << " pixel (" << x << ", " << y << ") from "
               << Describe(run.source[i]) << " is " << Describe(run.destination[i])
               << ", expected " << Describe(expected) << (run.inPlace ? " (in place)" : " (separate)");
      }
    }
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult NothingWritten(const FilterRun& run) {
  for (size_t i = 0; i < run.before.size(); ++i) {
    if (run.destination[i] != run.before[i]) {
      return ::testing::AssertionFailure() << "pixel " << i << " changed";
    }
  }
  return ::testing::AssertionSuccess();
}

std::vector<int32_t> ExpectedProgress(const PixelRegion& region) {
  std::vector<int32_t> p{0};
  const int32_t h = region.bottom - region.top;
  for (int32_t k = 0; k < h; ++k) p.push_back(k * 10000 / h);
  p.push_back(10000);
  return p;
}
