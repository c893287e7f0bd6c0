// The checkerboard composite of one pane pixel.
#include <gtest/gtest.h>

#include "dialogs/checker_blend.h"

namespace {

uint32_t Rgb(uint32_t r, uint32_t g, uint32_t b) { return (r << 16) | (g << 8) | b; }

TEST(CheckerBlend, SquaresOfEightAnchoredAtTheTopLeft) {
  const uint8_t black[3] = {0, 0, 0};
  struct Case {
    int x, y;
    uint32_t level;
  };
  const Case cases[] = {{0, 0, 255},  {7, 7, 255},  {8, 0, 192},   {15, 7, 192}, {0, 8, 192},
                        {8, 8, 255},  {15, 15, 255}, {16, 0, 255}, {23, 9, 192}, {119, 109, 192}};
  for (const Case& c : cases) {
    EXPECT_EQ(BlendOnChecker(c.x, c.y, black, 0), Rgb(c.level, c.level, c.level)) << c.x << "," << c.y;
  }
}

TEST(CheckerBlend, HalfAlphaOverWhiteAndGrey) {
  const uint8_t black[3] = {0, 0, 0};
  const uint8_t red[3] = {0, 0, 255};  // blue, green, red
  EXPECT_EQ(BlendOnChecker(0, 0, black, 128), Rgb(127, 127, 127));
  EXPECT_EQ(BlendOnChecker(8, 0, black, 128), Rgb(95, 95, 95));
  EXPECT_EQ(BlendOnChecker(8, 0, red, 128), Rgb(223, 95, 95));
}

TEST(CheckerBlend, OpaqueShowsThePixelAndTransparentTheBoard) {
  const uint8_t colour[3] = {0x33, 0x22, 0x11};
  for (int x = 0; x < 32; x += 5) {
    for (int y = 0; y < 32; y += 3) {
      EXPECT_EQ(BlendOnChecker(x, y, colour, 255), 0x112233u);
      EXPECT_EQ(BlendOnChecker(x, y, colour, 0), Rgb(CheckerLevel(x, y), CheckerLevel(x, y), CheckerLevel(x, y)));
    }
  }
}

TEST(CheckerBlend, StaysInRangeForEveryAlphaAndValue) {
  for (uint32_t a = 0; a < 256; ++a) {
    for (uint32_t v = 0; v < 256; v += 15) {
      const uint8_t p[3] = {static_cast<uint8_t>(v), static_cast<uint8_t>(255 - v), static_cast<uint8_t>(v)};
      const uint32_t out = BlendOnChecker(8, 0, p, a);
      EXPECT_EQ(out >> 24, 0u);
      EXPECT_EQ(out & 0xFF, (192 * (255 - a) + v * a) / 255) << a << " " << v;
    }
  }
}

}  // namespace
