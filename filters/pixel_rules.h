// The per-pixel rules of the three filters, shared by the filters' kernels and the
// dialogs' previews. Platform-free, integer only. These scalar forms are the reference
// every faster row must match byte for byte.
#pragma once
#include <cstdint>

// One colour in the buffers' byte order.
struct Bgr {
  uint8_t b, g, r;
};

// --- Solarization -----------------------------------------------------------------

// Weights sum to 256, so L runs from 0 to 65280.
inline uint32_t Luminance(uint8_t r, uint8_t g, uint8_t b) { return 77u * r + 150u * g + 29u * b; }

// The threshold pre-scaled by 256, so that the test needs no division.
inline uint32_t ScaledThreshold(int32_t threshold) { return static_cast<uint32_t>(threshold) << 8; }

// Channel 1 inverts red only, 2 green only, 3 blue only, anything else all three.
inline Bgr Solarize(Bgr c, uint32_t scaledThreshold, int32_t channel) {
  if (Luminance(c.r, c.g, c.b) < scaledThreshold) return c;
  switch (channel) {
    case 1: c.r = static_cast<uint8_t>(~c.r); break;
    case 2: c.g = static_cast<uint8_t>(~c.g); break;
    case 3: c.b = static_cast<uint8_t>(~c.b); break;
    default:
      c.r = static_cast<uint8_t>(~c.r);
      c.g = static_cast<uint8_t>(~c.g);
      c.b = static_cast<uint8_t>(~c.b);
  }
  return c;
}

// --- Posterization ----------------------------------------------------------------

// n levels, 2 <= n <= 255 (the caller guarantees it: n - 1 is the divisor). Band
// t = v * n >> 8 runs from 0 to n - 1 and maps to t * 255 / (n - 1).
inline uint8_t PosterizeChannel(uint32_t v, uint32_t n) {
  const uint32_t t = (v * n) >> 8;
  return static_cast<uint8_t>(t * 255u / (n - 1u));
}

inline Bgr Posterize(Bgr c, uint32_t n) {
  return Bgr{PosterizeChannel(c.b, n), PosterizeChannel(c.g, n), PosterizeChannel(c.r, n)};
}

// --- Cut Low Bit ------------------------------------------------------------------

// LowBitMask[n] clears the n low bits of a byte; n runs from 0 to 7.
inline constexpr uint8_t LowBitMask[8] = {0xFF, 0xFE, 0xFC, 0xF8, 0xF0, 0xE0, 0xC0, 0x80};

inline Bgr CutLowBits(Bgr c, uint8_t redMask, uint8_t greenMask, uint8_t blueMask) {
  return Bgr{static_cast<uint8_t>(c.b & blueMask), static_cast<uint8_t>(c.g & greenMask),
             static_cast<uint8_t>(c.r & redMask)};
}

// --- Rows -------------------------------------------------------------------------

// Applies a colour rule (Bgr -> Bgr) to `count` BGRA pixels, copying alpha. Each pixel
// is read before it is written, so `src` may equal `dst`.
template <class Rule>
void ApplyRuleToRow(const uint8_t* src, uint8_t* dst, int32_t count, Rule rule) {
  for (int32_t i = 0; i < count; ++i, src += 4, dst += 4) {
    const uint8_t alpha = src[3];
    const Bgr out = rule(Bgr{src[0], src[1], src[2]});
    dst[0] = out.b;
    dst[1] = out.g;
    dst[2] = out.r;
    dst[3] = alpha;
  }
}
