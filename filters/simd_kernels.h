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

// kAllChannels: the default, all three colours inverted, takes the bytes to invert from
// the comparison itself (0xFFFFFFFF >> 8), which leaves the 32-bit build one constant
// register fewer to hold.
template <class Ops, bool kAllChannels>
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
    if constexpr (kAllChannels) return Ops::Xor(pixels, Ops::LowThreeBytesOfDwords(reached));
    return Ops::Xor(pixels, Ops::And(reached, inverted));
  }

  Vector blueRed, blueRedWeights, greenAlphaWeights, belowThreshold, inverted;
};

// Solarization of a row, with the cheaper kernel when every colour is inverted.
template <class Ops>
void SolarizeRow(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                 int32_t channel, RowStores stores) {
  if (InvertedBits(channel) == 0x00FFFFFFu) {
    ApplyRow<Ops>(src, dst, count, stores, SolarizeKernel<Ops, true>(scaledThreshold, channel));
  } else {
    ApplyRow<Ops>(src, dst, count, stores, SolarizeKernel<Ops, false>(scaledThreshold, channel));
  }
}

// --- Posterization ----------------------------------------------------------------

// t * 255 / (n - 1) for the band t = v * n >> 8, with high multiplies and no division.
// With each byte in the high half of its word (v << 8), a high multiply by n << a gives
// v * n << a >> 8; clearing its a low bits leaves T = t << a, and with s = 16 - a,
// T * K / 2^16 = t * K / 2^s for a K near 255 * 2^s / (n - 1), rounded up.
//
// Rounding up adds e = K (n - 1) - 255 * 2^s, so t * K / 2^s exceeds t * 255 / (n - 1)
// by t * e / ((n - 1) 2^s), while the next integer lies at least 1 / (n - 1) above it.
// The floor is exact when (n - 1) e < 2^s:
// - For most n some s gives that with K < 2^16: then the result is one more high
//   multiply, mulhi(T, K).
// - Otherwise K in [2^16, 2^17) gives 2^s > 257 (n - 1) > (n - 1)^2 > (n - 1) e, and
//   the result is T + mulhi(T, K - 2^16).
// Alpha words get constants that give their value back: (0x8080, 0xFFFF, 512) makes
// 128.5 a, then a; (256, 0xFFFF, 0) makes a, then a + 0.
struct PosterizeMultipliers {
  bool oneMultiply;   // the first form
  uint16_t levels;    // n << a
  uint16_t bandMask;  // clears the a low bits
  uint16_t scale;     // K, or K - 2^16
};

inline PosterizeMultipliers MultipliersFor(uint32_t levels) {
  const uint32_t steps = levels - 1;
  uint32_t s = 0;
  while ((levels << (16 - s)) > 0xFFFFu) ++s;  // n << a must fit a word
  for (; s <= 16; ++s) {
    const uint32_t k = ((255u << s) + steps - 1) / steps;
    if (k > 0xFFFFu) break;
    if (steps * (k * steps - (255u << s)) < (1u << s)) {
      return PosterizeMultipliers{true, uint16_t(levels << (16 - s)),
                                  uint16_t(0xFFFFu << (16 - s)), uint16_t(k)};
    }
  }
  for (;; ++s) {  // 255 * 2^s / (n - 1) now lies in [2^16 - 1, 2^17); s <= 16
    const uint32_t k = ((255u << s) + steps - 1) / steps;
    if (k >= 0x10000u) {
      return PosterizeMultipliers{false, uint16_t(levels << (16 - s)),
                                  uint16_t(0xFFFFu << (16 - s)), uint16_t(k - 0x10000u)};
    }
  }
}

template <class Ops, bool kOneMultiply>
struct PosterizeKernel {
  using Vector = typename Ops::Vector;

  explicit PosterizeKernel(const PosterizeMultipliers& m)
      : levels(Ops::EachUnpackedPixel(m.levels, kOneMultiply ? 0x8080 : 256)),
        bandMask(Ops::EachUnpackedPixel(m.bandMask, 0xFFFF)),
        scale(Ops::EachUnpackedPixel(m.scale, kOneMultiply ? 512 : 0)) {}

  // Two pixels' worth of words, each holding a byte in its high half.
  Vector Words(Vector high) const {
    const Vector band = Ops::And(Ops::MulHighWords(high, levels), bandMask);
    if constexpr (kOneMultiply) {
      return Ops::MulHighWords(band, scale);
    } else {
      return Ops::AddWords(band, Ops::MulHighWords(band, scale));
    }
  }

  Vector operator()(Vector pixels) const {
    const Vector zero = Ops::Zero();
    return Ops::PackWords(Words(Ops::UnpackLowBytes(zero, pixels)),
                          Words(Ops::UnpackHighBytes(zero, pixels)));
  }

  Vector levels, bandMask, scale;
};

// Posterization of a row in whichever form its level count allows.
template <class Ops>
void PosterizeRow(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                  RowStores stores) {
  const PosterizeMultipliers m = MultipliersFor(levels);
  if (m.oneMultiply) {
    ApplyRow<Ops>(src, dst, count, stores, PosterizeKernel<Ops, true>(m));
  } else {
    ApplyRow<Ops>(src, dst, count, stores, PosterizeKernel<Ops, false>(m));
  }
}

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
