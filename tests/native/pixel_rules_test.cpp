// The filters' per-pixel rules against worked examples and their stated properties.
#include <gtest/gtest.h>

#include "filters/cut_low_bits_rows.h"
#include "filters/pixel_rules.h"
#include "filters/posterize_rows.h"
#include "filters/solarize_rows.h"
#include "tests/reference/filter_reference.h"

namespace {

struct Rgb {
  int r, g, b;
};
bool operator==(Bgr a, Rgb b) { return a.r == b.r && a.g == b.g && a.b == b.b; }
Bgr Color(int r, int g, int b) { return Bgr{uint8_t(b), uint8_t(g), uint8_t(r)}; }

TEST(Solarize, InvertsBrightPixelsAndKeepsGreyBelowTheDefaultThreshold) {
  const uint32_t t230 = ScaledThreshold(230);
  EXPECT_EQ(Solarize(Color(255, 255, 200), t230, 0), (Rgb{0, 0, 55}));
  EXPECT_EQ(Solarize(Color(200, 200, 200), t230, 0), (Rgb{200, 200, 200}));
  EXPECT_EQ(Solarize(Color(230, 230, 230), t230, 0), (Rgb{25, 25, 25}));  // L == T inverts
}

TEST(Solarize, ChannelSelectsWhatIsInverted) {
  const Bgr c = Color(10, 20, 30);
  EXPECT_EQ(Solarize(c, 0, 1), (Rgb{245, 20, 30}));
  EXPECT_EQ(Solarize(c, 0, 2), (Rgb{10, 235, 30}));
  EXPECT_EQ(Solarize(c, 0, 3), (Rgb{10, 20, 225}));
  for (int32_t other : {0, 4, 7, -1}) EXPECT_EQ(Solarize(c, 0, other), (Rgb{245, 235, 225})) << other;
}

TEST(Solarize, ThresholdZeroInvertsEverythingAnd255OnlyWhite) {
  for (int v = 0; v < 256; ++v) {
    EXPECT_EQ(Solarize(Color(v, v, v), 0, 0), (Rgb{255 - v, 255 - v, 255 - v})) << v;
    const int expected = v == 255 ? 0 : v;
    EXPECT_EQ(Solarize(Color(v, v, v), ScaledThreshold(255), 0), (Rgb{expected, expected, expected})) << v;
  }
  EXPECT_EQ(Solarize(Color(255, 255, 254), ScaledThreshold(255), 0), (Rgb{255, 255, 254}));
}

TEST(PosterizeChannel, MatchesWorkedExamples) {
  struct Case {
    uint32_t n, v, out;
  };
  constexpr Case kCases[] = {{2, 0, 0},    {2, 127, 0},   {2, 128, 255}, {2, 255, 255},
                             {8, 31, 0},   {8, 32, 36},   {8, 100, 109}, {8, 255, 255},
                             {255, 1, 0},  {255, 2, 1},   {255, 255, 255}};
  for (const Case& c : kCases) EXPECT_EQ(PosterizeChannel(c.v, c.n), c.out) << c.n << ":" << c.v;
}

TEST(PosterizeChannel, SpansTheFullRangeWithNEvenLevels) {
  for (uint32_t n = 2; n <= 255; ++n) {
    int levels = 0, previous = -1;
    for (uint32_t v = 0; v < 256; ++v) {
      const int out = PosterizeChannel(v, n);
      ASSERT_GE(out, previous) << n << ":" << v;
      levels += out != previous;
      previous = out;
    }
    EXPECT_EQ(PosterizeChannel(0, n), 0) << n;
    EXPECT_EQ(PosterizeChannel(255, n), 255) << n;
    EXPECT_EQ(levels, int(n)) << n;
  }
}

TEST(CutLowBits, MasksClearTheLowBits) {
  for (int n = 0; n < 8; ++n) EXPECT_EQ(LowBitMask[n], uint8_t(0xFF << n)) << n;
  const uint8_t one = LowBitMask[1];
  EXPECT_EQ(CutLowBits(Color(255, 1, 2), one, one, one), (Rgb{254, 0, 2}));
  EXPECT_EQ(CutLowBits(Color(200, 77, 13), LowBitMask[7], LowBitMask[0], LowBitMask[3]),
            (Rgb{128, 77, 8}));
}

// The rules the Windows tests check the module's output against agree with the
// module's own for every channel value and setting.
TEST(PixelRules, AgreeWithTheTestsOwnRulesEverywhere) {
  const auto same = [](Bgr out, Pixel expected) {
    return out.b == expected.b && out.g == expected.g && out.r == expected.r;
  };
  for (int v = 0; v < 256; ++v) {
    const Pixel p{uint8_t(v), uint8_t(255 - v), uint8_t(v * 7), 9};
    const Bgr c{p.b, p.g, p.r};
    for (int t = 0; t < 256; ++t) {
      for (int k = 0; k <= 4; ++k) {
        ASSERT_TRUE(same(Solarize(c, ScaledThreshold(t), k), ExpectedSolarization(p, t, k)))
            << v << " threshold " << t << " channel " << k;
      }
    }
    for (uint32_t n = 2; n < 256; ++n) {
      ASSERT_TRUE(same(Posterize(c, n), ExpectedPosterization(p, int(n)))) << v << " levels " << n;
    }
    for (int bits = 0; bits < 8; ++bits) {
      ASSERT_TRUE(same(CutLowBits(c, LowBitMask[bits], LowBitMask[7 - bits], LowBitMask[bits]),
                       ExpectedCutLowBit(p, bits, 7 - bits, bits)))
          << v << " bits " << bits;
    }
  }
}

// The reference rows apply the rule to red, green and blue and copy alpha.
TEST(ReferenceRows, ApplyTheRuleAndCopyAlpha) {
  const uint8_t src[8] = {200, 255, 255, 0, 13, 77, 200, 9};  // BGRA, BGRA
  uint8_t dst[8];
  SolarizeRowReference(src, dst, 2, ScaledThreshold(230), 0);
  EXPECT_EQ(std::vector<uint8_t>(dst, dst + 8), (std::vector<uint8_t>{55, 0, 0, 0, 13, 77, 200, 9}));
  PosterizeRowReference(src, dst, 2, 8);
  EXPECT_EQ(std::vector<uint8_t>(dst, dst + 8), (std::vector<uint8_t>{218, 255, 255, 0, 0, 72, 218, 9}));
  CutLowBitsRowReference(src, dst, 2, LowBitMask[7], LowBitMask[0], LowBitMask[3]);
  EXPECT_EQ(std::vector<uint8_t>(dst, dst + 8), (std::vector<uint8_t>{200, 255, 128, 0, 8, 77, 128, 9}));
}

}  // namespace
