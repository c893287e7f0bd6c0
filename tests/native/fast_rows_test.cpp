// The rows of every path this processor has against the reference rows: every
// channel value, every valid setting, every head and tail shorter than a vector, every
// alignment of source and destination, in place and separate, with cached and streaming
// stores. A path the processor lacks is skipped, with a line naming it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include "filters/cut_low_bits_rows.h"
#include "filters/pixel_rules.h"
#include "filters/posterize_rows.h"
#include "filters/row_paths.h"
#include "filters/solarize_rows.h"

// Test names and failures name the path.
void PrintTo(RowPath path, std::ostream* out) { *out << RowPathName(path); }

namespace {

// The widest vector of any path, in pixels.
constexpr int kMaxVectorPixels = 8;

using FastRow = std::function<void(const uint8_t* src, uint8_t* dst, int32_t count, RowStores)>;
using ReferenceRow = std::function<void(const uint8_t* src, uint8_t* dst, int32_t count)>;
using Pixels = std::vector<uint8_t>;

constexpr uint8_t kCanary = 0xCD;

struct Placement {
  int srcShift;  // pixels before the row in its buffer (canary pixels for the destination)
  int dstShift;
  bool inPlace;  // the row is filtered in the source's buffer (dstShift unused)
  RowStores stores;
};

// Filters `count` pixels of `input` with `fast`, placed as `at` says, each buffer ending
// right at the row's end (so that the sanitizer sees any access past it) and canary
// pixels before it; compares with `reference` on a plain copy. Returns the largest
// difference of any byte, 256 when a canary byte changed.
int MaxDifference(const FastRow& fast, const ReferenceRow& reference, const uint8_t* input,
                  int32_t count, Placement at) {
  const size_t rowBytes = size_t(count) * 4;
  Pixels expected(rowBytes);
  reference(input, expected.data(), count);

  Pixels source(size_t(at.srcShift) * 4 + rowBytes, kCanary);
  std::copy(input, input + rowBytes, source.begin() + at.srcShift * 4);
  const uint8_t* src = source.data() + at.srcShift * 4;
  Pixels separate;
  uint8_t* dst;
  int dstShift;
  if (at.inPlace) {
    dst = source.data() + at.srcShift * 4;
    dstShift = at.srcShift;
  } else {
    separate.assign(size_t(at.dstShift) * 4 + rowBytes, kCanary);
    dst = separate.data() + at.dstShift * 4;
    dstShift = at.dstShift;
  }
  fast(src, dst, count, at.stores);

  if (!at.inPlace && !std::equal(input, input + rowBytes, src)) return 256;  // source changed
  for (const uint8_t* p = dst - dstShift * 4; p < dst; ++p) {
    if (*p != kCanary) return 256;
  }
  int worst = 0;
  for (size_t i = 0; i < rowBytes; ++i) worst = std::max(worst, std::abs(dst[i] - expected[i]));
  return worst;
}

// Pixel i holds in each channel a different permutation of 0..255, so any 256
// consecutive pixels hold every value in every channel (and alpha too).
Pixels AllValuesPattern(int32_t count) {
  Pixels p(size_t(count) * 4);
  for (int32_t i = 0; i < count; ++i) {
    p[i * 4 + 0] = uint8_t(i);
    p[i * 4 + 1] = uint8_t(i * 167 + 13);
    p[i * 4 + 2] = uint8_t(i * 91 + 200);
    p[i * 4 + 3] = uint8_t(i ^ 0xA5);
  }
  return p;
}

constexpr RowStores kStores[] = {RowStores::kCached, RowStores::kStreaming};

// A few placements over the all-values row: enough for every setting.
int MaxDifferenceOverAllValues(const FastRow& fast, const ReferenceRow& reference,
                               const Pixels& extra = {}) {
  Pixels input = AllValuesPattern(259);  // not a whole number of vectors
  input.insert(input.end(), extra.begin(), extra.end());
  const int32_t count = int32_t(input.size() / 4);
  Placement placements[] = {{0, 0, false, {}}, {1, 3, false, {}}, {2, 1, false, {}},
                            {3, 2, false, {}}, {0, 0, true, {}},  {3, 0, true, {}}};
  int worst = 0;
  for (RowStores stores : kStores) {
    for (Placement at : placements) {
      at.stores = stores;
      worst = std::max(worst, MaxDifference(fast, reference, input.data(), count, at));
    }
  }
  return worst;
}

// Every width up to five of the widest vectors, with the destination at each pixel of
// a vector line (the buffers start on a pixel boundary, so kMaxVectorPixels shifts
// reach every one): every head, every tail below a vector and every count of single
// vectors after the last whole cache line is met. The source's shift matters less: its loads are unaligned anyway.
int MaxDifferenceOverShortRows(const FastRow& fast, const ReferenceRow& reference) {
  const Pixels input = AllValuesPattern(256);
  int worst = 0;
  for (int32_t count = 1; count <= 5 * kMaxVectorPixels; ++count) {
    for (int start : {0, 211}) {
      for (RowStores stores : kStores) {
        for (int d = 0; d < kMaxVectorPixels; ++d) {
          for (int s : {0, 3}) {
            worst = std::max(worst, MaxDifference(fast, reference, &input[start * 4], count,
                                                  {s, d, false, stores}));
          }
          worst = std::max(worst, MaxDifference(fast, reference, &input[start * 4], count,
                                                {d, 0, true, stores}));
        }
      }
    }
  }
  return worst;
}

// Each path's tests run once per path; a path this processor lacks is skipped.
class PathRows : public ::testing::TestWithParam<RowPath> {
 protected:
  void SetUp() override {
    if (!HasRowPath(CpuidFeatures(), GetParam())) {
      std::printf("%s rows not tested: this processor lacks %s\n", RowPathName(GetParam()),
                  RowPathName(GetParam()));
      GTEST_SKIP() << "this processor lacks " << RowPathName(GetParam());
    }
  }
  const FilterRows& Rows() const { return RowsOf(GetParam()); }
};

INSTANTIATE_TEST_SUITE_P(Each, PathRows, ::testing::ValuesIn(kRowPaths),
                         [](const ::testing::TestParamInfo<RowPath>& info) {
                           return std::string(RowPathName(info.param));
                         });

// --- Solarization -----------------------------------------------------------------

constexpr int32_t kChannels[] = {0, 1, 2, 3, 7, -1};

FastRow SolarizeFast(const FilterRows& rows, uint32_t t, int32_t channel) {
  return [=, &rows](const uint8_t* s, uint8_t* d, int32_t n, RowStores st) { rows.solarize(s, d, n, t, channel, st); };
}
ReferenceRow SolarizeReference(uint32_t t, int32_t channel) {
  return [=](const uint8_t* s, uint8_t* d, int32_t n) { SolarizeRowReference(s, d, n, t, channel); };
}

// One colour (BGRA, alpha 0x80) of each luminance that some colour has, so that every
// threshold can be tried exactly at its edge.
const std::vector<int32_t>& ColourOfLuminance() {
  static const std::vector<int32_t> table = [] {
    std::vector<int32_t> t(65281, -1);
    for (int r = 0; r < 256; ++r) {
      for (int g = 0; g < 256; ++g) {
        for (int b = 0; b < 256; ++b) {
          int32_t& c = t[77 * r + 150 * g + 29 * b];
          if (c < 0) c = b | g << 8 | r << 16;
        }
      }
    }
    return t;
  }();
  return table;
}

// Pixels whose luminance lies just below (the nearest luminance below 65280 is 29
// lower), at and just above T.
Pixels EdgePixels(uint32_t scaledThreshold) {
  Pixels p;
  for (int32_t l = int32_t(scaledThreshold) - 32; l <= int32_t(scaledThreshold) + 2; ++l) {
    if (l < 0 || l > 65280 || ColourOfLuminance()[l] < 0) continue;
    const int32_t c = ColourOfLuminance()[l];
    p.insert(p.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16), 0x80});
  }
  return p;
}

TEST_P(PathRows, SolarizeMatchesReferenceForEveryThresholdAndChannel) {
  for (int32_t threshold = 0; threshold <= 255; ++threshold) {
    const uint32_t t = ScaledThreshold(threshold);
    const Pixels edge = EdgePixels(t);
    ASSERT_GE(edge.size(), threshold > 0 ? 2u * 4 : 4u) << threshold;
    for (int32_t channel : kChannels) {
      ASSERT_EQ(MaxDifferenceOverAllValues(SolarizeFast(Rows(), t, channel), SolarizeReference(t, channel), edge), 0)
          << "threshold " << threshold << " channel " << channel;
    }
  }
}

TEST_P(PathRows, SolarizeMatchesReferenceOnShortAndUnalignedRows) {
  for (int32_t threshold : {0, 100, 230, 255}) {
    for (int32_t channel : kChannels) {
      const uint32_t t = ScaledThreshold(threshold);
      EXPECT_EQ(MaxDifferenceOverShortRows(SolarizeFast(Rows(), t, channel), SolarizeReference(t, channel)), 0)
          << "threshold " << threshold << " channel " << channel;
    }
  }
}

// --- Posterization ----------------------------------------------------------------

FastRow PosterizeFast(const FilterRows& rows, uint32_t n) {
  return [=, &rows](const uint8_t* s, uint8_t* d, int32_t c, RowStores st) { rows.posterize(s, d, c, n, st); };
}
ReferenceRow PosterizeReference(uint32_t n) {
  return [=](const uint8_t* s, uint8_t* d, int32_t c) { PosterizeRowReference(s, d, c, n); };
}

TEST_P(PathRows, PosterizeMatchesReferenceForEveryLevelCount) {
  for (uint32_t n = 2; n <= 255; ++n) {
    ASSERT_EQ(MaxDifferenceOverAllValues(PosterizeFast(Rows(), n), PosterizeReference(n)), 0) << n;
  }
}

TEST_P(PathRows, PosterizeMatchesReferenceOnShortAndUnalignedRows) {
  for (uint32_t n : {2u, 3u, 8u, 254u, 255u}) {
    EXPECT_EQ(MaxDifferenceOverShortRows(PosterizeFast(Rows(), n), PosterizeReference(n)), 0) << n;
  }
}

// --- Cut Low Bit ------------------------------------------------------------------

FastRow CutFast(const FilterRows& rows, int r, int g, int b) {
  return [=, &rows](const uint8_t* s, uint8_t* d, int32_t n, RowStores st) {
    rows.cutLowBits(s, d, n, LowBitMask[r], LowBitMask[g], LowBitMask[b], st);
  };
}
ReferenceRow CutReference(int r, int g, int b) {
  return [=](const uint8_t* s, uint8_t* d, int32_t n) {
    CutLowBitsRowReference(s, d, n, LowBitMask[r], LowBitMask[g], LowBitMask[b]);
  };
}

TEST_P(PathRows, CutLowBitsMatchesReferenceForEveryBitCount) {
  for (int r = 0; r < 8; ++r) {
    for (int g = 0; g < 8; ++g) {
      for (int b = 0; b < 8; ++b) {
        ASSERT_EQ(MaxDifferenceOverAllValues(CutFast(Rows(), r, g, b), CutReference(r, g, b)), 0)
            << r << "," << g << "," << b;
      }
    }
  }
}

TEST_P(PathRows, CutLowBitsMatchesReferenceOnShortAndUnalignedRows) {
  for (int bits : {0, 1, 3, 7}) {
    EXPECT_EQ(MaxDifferenceOverShortRows(CutFast(Rows(), bits, 7 - bits, 1), CutReference(bits, 7 - bits, 1)), 0) << bits;
  }
}

TEST_P(PathRows, EmptyRowTouchesNothing) {
  uint8_t buffer[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Rows().solarize(buffer, buffer + 4, 0, 0, 0, RowStores::kStreaming);
  Rows().posterize(buffer, buffer + 4, 0, 2, RowStores::kCached);
  Rows().cutLowBits(buffer, buffer + 4, 0, 0, 0, 0, RowStores::kCached);
  EXPECT_EQ(std::vector<uint8_t>(buffer, buffer + 8), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8}));
}

// A destination off the pixel grid (never from a sane host) still works, with
// unaligned stores.
TEST_P(PathRows, DestinationOffThePixelGrid) {
  const Pixels input = AllValuesPattern(64);
  for (int32_t count : {1, 5, 8, 17, 63}) {
    Pixels out(size_t(count) * 4 + 1, kCanary), expected(size_t(count) * 4);
    Rows().posterize(input.data(), out.data() + 1, count, 8, RowStores::kStreaming);
    PosterizeRowReference(input.data(), expected.data(), count, 8);
    EXPECT_EQ(out[0], kCanary);
    EXPECT_TRUE(std::equal(expected.begin(), expected.end(), out.begin() + 1)) << count;
  }
}

// --- Paths ------------------------------------------------------------------------

TEST(RowPaths, FastestIsTheWidestTheFeaturesAllow) {
  EXPECT_EQ(FastestRowPath(CpuFeatures{false, false}), RowPath::kScalar);
  EXPECT_EQ(FastestRowPath(CpuFeatures{true, false}), RowPath::kSse2);
  EXPECT_EQ(FastestRowPath(CpuFeatures{true, true}), RowPath::kAvx2);
  // AVX2 reported without SSE2 is a state no path can trust.
  EXPECT_EQ(FastestRowPath(CpuFeatures{false, true}), RowPath::kScalar);
}

// --- Store choice -------------------------------------------------------------------

TEST(ChooseRowStores, StreamsOnlyLargeSeparateDestinations) {
  uint8_t a = 0, b = 0;
  const PixelRegion large{0, 0, 1024, 1024};  // 4 MiB
  const PixelRegion small{0, 0, 1024, 1023};
  EXPECT_EQ(ChooseRowStores(&a, &b, large), RowStores::kStreaming);
  EXPECT_EQ(ChooseRowStores(&a, &a, large), RowStores::kCached);
  EXPECT_EQ(ChooseRowStores(&a, &b, small), RowStores::kCached);
  EXPECT_EQ(ChooseRowStores(&a, &b, PixelRegion{0, 5, 1024, 0}), RowStores::kCached);
  EXPECT_EQ(ChooseRowStores(&a, &b, PixelRegion{9, 0, 0, 5000}), RowStores::kCached);
  EXPECT_EQ(ChooseRowStores(&a, &b, PixelRegion{0, 0, 65536, 65536}), RowStores::kStreaming);
}

}  // namespace
