// The tests' own account of the three filters, written apart from the module's code:
// the oracle that the native and the Windows tests check the module against, with the
// one pixel type and the one image type they share. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A pixel as the buffers hold it: blue, green, red, alpha.
struct Pixel {
  uint8_t b, g, r, a;
};
inline bool operator==(Pixel x, Pixel y) {
  return x.b == y.b && x.g == y.g && x.r == y.r && x.a == y.a;
}
inline bool operator!=(Pixel x, Pixel y) { return !(x == y); }

using PixelRule = std::function<Pixel(Pixel)>;

// A picture in the plug-in's buffer layout: BGRA, rows top to bottom, no gaps.
struct TestImage {
  int width = 0, height = 0;
  std::vector<uint8_t> bytes;
  // Null for an empty image, as a host passes none.
  const uint8_t* data() const { return bytes.empty() ? nullptr : bytes.data(); }
  Pixel At(int x, int y) const {
    const uint8_t* p = &bytes[(static_cast<size_t>(y) * width + x) * 4];
    return Pixel{p[0], p[1], p[2], p[3]};
  }
};

// "" when two pictures' sizes agree, else both sizes.
inline std::string SizeDifference(int width, int height, int expectedWidth, int expectedHeight) {
  if (width == expectedWidth && height == expectedHeight) return "";
  return "size " + std::to_string(width) + "x" + std::to_string(height) + ", expected " +
         std::to_string(expectedWidth) + "x" + std::to_string(expectedHeight);
}

// --- the filters' rules, each applied to red, green and blue; alpha is kept ----------

// Pixels whose luminance 0.30 R + 0.59 G + 0.11 B (in 256ths) reaches the threshold are
// inverted: channel 1 red only, 2 green only, 3 blue only, any other value all three.
inline Pixel ExpectedSolarization(Pixel p, int threshold, int channel) {
  if (77 * p.r + 150 * p.g + 29 * p.b < threshold * 256) return p;
  const bool all = channel < 1 || channel > 3;
  if (all || channel == 1) p.r = static_cast<uint8_t>(255 - p.r);
  if (all || channel == 2) p.g = static_cast<uint8_t>(255 - p.g);
  if (all || channel == 3) p.b = static_cast<uint8_t>(255 - p.b);
  return p;
}

// `levels` evenly spaced values from 0 to 255: a value falls into band v * n / 256 and
// takes that band's level, band * 255 / (n - 1).
inline Pixel ExpectedPosterization(Pixel p, int levels) {
  const auto level = [levels](uint8_t v) {
    return static_cast<uint8_t>((v * levels / 256) * 255 / (levels - 1));
  };
  return Pixel{level(p.b), level(p.g), level(p.r), p.a};
}

// The given number of low bits of each channel cleared.
inline Pixel ExpectedCutLowBit(Pixel p, int redBits, int greenBits, int blueBits) {
  const auto cut = [](uint8_t v, int bits) { return static_cast<uint8_t>(v >> bits << bits); };
  return Pixel{cut(p.b, blueBits), cut(p.g, greenBits), cut(p.r, redBits), p.a};
}

// Each filter at its default settings.
inline Pixel SolarizeDefault(Pixel p) { return ExpectedSolarization(p, 230, 0); }
inline Pixel PosterizeDefault(Pixel p) { return ExpectedPosterization(p, 8); }
inline Pixel CutLowBitDefault(Pixel p) { return ExpectedCutLowBit(p, 1, 1, 1); }
