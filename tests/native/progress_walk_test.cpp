#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "filters/progress.h"
#include "filters/region_walk.h"

namespace {

std::vector<int32_t> reported;
int32_t Record(int32_t position, int32_t maximum, int32_t userData) {
  EXPECT_EQ(maximum, 10000);
  EXPECT_EQ(userData, 77);
  reported.push_back(position);
  return 0;
}

// Walks `region` of a width x rows image with a row function that inverts every byte
// and records the rows' progress; everything outside must keep its canary.
struct Walk {
  Walk(int32_t width, int32_t rows, PixelRegion region) : width(width), image(size_t(width) * rows * 4, 0x5A) {
    reported.clear();
    const ProgressSink sink{77, &Record};
    WalkRegion(image.data(), image.data(), region, width, &sink,
               [](const uint8_t* src, uint8_t* dst, int32_t n) {
                 for (int32_t i = 0; i < n * 4; ++i) dst[i] = uint8_t(~src[i]);
               });
  }
  uint8_t At(int x, int y) const { return image[(size_t(y) * width + x) * 4]; }
  int32_t width;
  std::vector<uint8_t> image;
};

TEST(ProgressAfterRow, TruncatesTowardZero) {
  EXPECT_EQ(ProgressAfterRow(0, 1), 0);
  EXPECT_EQ(ProgressAfterRow(1, 3), 3333);
  EXPECT_EQ(ProgressAfterRow(2, 3), 6666);
  EXPECT_EQ(ProgressAfterRow(99, 100), 9900);
}

TEST(ProgressAfterRow, StaysExactWhereThe32BitProductWouldOverflow) {
  // k * 10000 passes 2^31 from k = 214749 on.
  EXPECT_EQ(ProgressAfterRow(214749, 214750), 9999);
  EXPECT_EQ(ProgressAfterRow(999999, 1000000), 9999);
  EXPECT_EQ(ProgressAfterRow(500000, 1000000), 5000);
  EXPECT_EQ(ProgressAfterRow(INT32_MAX - 1, INT32_MAX), 9999);
  for (int32_t h : {1, 2, 3, 7, 100, 4096, 214748}) {
    for (int32_t k = 0; k < h; k += 1 + h / 97) {
      ASSERT_EQ(ProgressAfterRow(k, h), k * 10000 / h) << k << "/" << h;
    }
  }
}

TEST(WalkRegion, ReportsOnceAfterEveryRow) {
  Walk w(4, 5, {1, 1, 3, 4});
  EXPECT_EQ(reported, (std::vector<int32_t>{0, 3333, 6666}));
}

TEST(WalkRegion, OneRowReportsZeroOnly) {
  Walk w(4, 5, {0, 2, 4, 3});
  EXPECT_EQ(reported, (std::vector<int32_t>{0}));
}

TEST(WalkRegion, EmptyRowsWriteNothingAndReportNothing) {
  for (PixelRegion r : {PixelRegion{0, 2, 4, 2}, PixelRegion{0, 3, 4, 1}}) {
    Walk w(4, 5, r);
    EXPECT_TRUE(reported.empty());
    for (uint8_t b : w.image) ASSERT_EQ(b, 0x5A);
  }
}

TEST(WalkRegion, EmptyColumnsWriteNothingButStillReportEveryRow) {
  Walk w(4, 5, {2, 0, 2, 5});
  EXPECT_EQ(reported.size(), 5u);
  for (uint8_t b : w.image) ASSERT_EQ(b, 0x5A);
}

TEST(WalkRegion, TouchesOnlyTheRegion) {
  Walk w(6, 5, {1, 2, 4, 4});
  for (int y = 0; y < 5; ++y) {
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
      EXPECT_EQ(w.At(x, y), inside ? 0xA5 : 0x5A) << x << "," << y;
    }
  }
}

TEST(WalkRegion, WithoutCallbackStillWalks) {
  std::vector<uint8_t> image(16, 1);
  const ProgressSink sink{0, nullptr};
  WalkRegion(image.data(), image.data(), PixelRegion{0, 0, 2, 2}, 2, &sink,
             [](const uint8_t*, uint8_t* dst, int32_t n) { std::memset(dst, 9, size_t(n) * 4); });
  for (uint8_t b : image) EXPECT_EQ(b, 9);
}

}  // namespace
