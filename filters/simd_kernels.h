// The three filters' kernels, written once over the vector operations of a width
// (filters/simd_row.h): each turns one vector of BGRA pixels into its results, equal
// byte for byte to the rules in filters/pixel_rules.h. Internal linkage, for the
// reason given in simd_row.h; only the SIMD rows' .cpp files include this.
#pragma once
#include <cstdint>

#include "filters/simd_row.h"

namespace {
namespace simd_row {

// --- Solarization -----------------------------------------------------------------

// Bits of a little-endian BGRA pixel that Solarize inverts for each channel setting.
inline uint32_t InvertedBits(int32_t channel) {
  switch (channel) {
    case 1: return 0x00FF0000u;  // red
    case 2: return 0x0000FF00u;  // green
    case 3: return 0x000000FFu;  // blue
    default: return 0x00FFFFFFu;
  }
}

template <class Ops>
struct SolarizeKernel {
  using Vector = typename Ops::Vector;

  SolarizeKernel(uint32_t scaledThreshold, int32_t channel)
      : blueRed(Ops::EachPixel(0x00FF00FFu)),
        blueRedWeights(Ops::EachPixel((77u << 16) | 29u)),
        greenAlphaWeights(Ops::EachPixel(150u)),
        // L >= T as L > T - 1: both fit in 17 bits, so the signed compare is exact,
        // and T = 0 gives -1, below every L.
        belowThreshold(Ops::EachPixel(scaledThreshold - 1)),
        inverted(Ops::EachPixel(InvertedBits(channel))) {}

  Vector operator()(Vector pixels) const {
    // Words per pixel: (blue, red) and (green, alpha); one multiply-add each gives
    // 29 B + 77 R and 150 G in the pixel's 32-bit lane.
    const Vector br = Ops::And(pixels, blueRed);
    const Vector ga = Ops::HighByteOfWords(pixels);
    const Vector luminance = Ops::AddDwords(Ops::MulAddWords(br, blueRedWeights),
                                            Ops::MulAddWords(ga, greenAlphaWeights));
    const Vector reached = Ops::GreaterDwords(luminance, belowThreshold);
    return Ops::Xor(pixels, Ops::And(reached, inverted));
  }

  Vector blueRed, blueRedWeights, greenAlphaWeights, belowThreshold, inverted;
};

// --- Posterization ----------------------------------------------------------------

// t * 255 / (n - 1) for the band t = v * n >> 8, with two high multiplies per word and
// no division. Choose s so that K = ceil(255 * 2^s / (n - 1)) lies in [2^16, 2^17).
// Then 2^s > 257 (n - 1) > (n - 1)^2: for t <= n - 1 the excess of t * K / 2^s over
// t * 255 / (n - 1) stays below (n - 1) / 2^s < 1 / (n - 1), the least distance to the
// next integer, so floor(t * K / 2^s) is exact.
// With each byte in the high half of its word (v << 8), a high multiply by n << a,
// a = 16 - s, gives v * n >> (8 - a); clearing its a low bits leaves T = t << a. Then
// t * K / 2^s = T * K / 2^16 = T + T * (K - 2^16) / 2^16: one more high multiply.
// Alpha words get (256, 0xFFFF, 0), which give their value back unchanged.
struct PosterizeMultipliers {
  uint16_t levels;    // n << a
  uint16_t bandMask;  // clears the a low bits
  uint16_t fraction;  // K - 2^16
};

inline PosterizeMultipliers MultipliersFor(uint32_t levels) {
  const uint32_t steps = levels - 1;
  uint32_t s = 0, k = 0;
  for (;; ++s) {
    k = ((255u << s) + steps - 1) / steps;
    if (k >= 0x10000u) break;
  }
  // n = 255 needs s = 16 (a = 0); n = 2 needs s = 9 (a = 7, n << a = 256).
  const uint32_t a = 16 - s;
  return PosterizeMultipliers{uint16_t(levels << a), uint16_t(0xFFFFu << a),
                              uint16_t(k - 0x10000u)};
}

template <class Ops>
struct PosterizeKernel {
  using Vector = typename Ops::Vector;

  explicit PosterizeKernel(const PosterizeMultipliers& m)
      : levels(Ops::EachUnpackedPixel(m.levels, 256)),
        bandMask(Ops::EachUnpackedPixel(m.bandMask, 0xFFFF)),
        fraction(Ops::EachUnpackedPixel(m.fraction, 0)) {}

  // Two pixels' worth of words, each holding a byte in its high half.
  Vector Words(Vector high) const {
    const Vector band = Ops::And(Ops::MulHighWords(high, levels), bandMask);
    return Ops::AddWords(band, Ops::MulHighWords(band, fraction));
  }

  Vector operator()(Vector pixels) const {
    const Vector zero = Ops::Zero();
    return Ops::PackWords(Words(Ops::UnpackLowBytes(zero, pixels)),
                          Words(Ops::UnpackHighBytes(zero, pixels)));
  }

  Vector levels, bandMask, fraction;
};

// --- Cut Low Bit ------------------------------------------------------------------

template <class Ops>
struct CutLowBitsKernel {
  using Vector = typename Ops::Vector;

  CutLowBitsKernel(uint8_t redMask, uint8_t greenMask, uint8_t blueMask)
      : mask(Ops::EachPixel(0xFF000000u | uint32_t(redMask) << 16 | uint32_t(greenMask) << 8 |
                            blueMask)) {}
  Vector operator()(Vector pixels) const { return Ops::And(pixels, mask); }

  Vector mask;
};

}  // namespace simd_row
}  // namespace
