#include "filters/solarize_rows.h"

#include "filters/pixel_rules.h"

void SolarizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count,
                          uint32_t scaledThreshold, int32_t channel) {
  for (int32_t i = 0; i < count; ++i, src += 4, dst += 4) {
    const Bgr out = Solarize(Bgr{src[0], src[1], src[2]}, scaledThreshold, channel);
    const uint8_t alpha = src[3];
    dst[0] = out.b;
    dst[1] = out.g;
    dst[2] = out.r;
    dst[3] = alpha;
  }
}

#if defined(__SSE2__)
#include "filters/sse2_row.h"

namespace {

// Bits of a little-endian BGRA pixel that Solarize inverts for each channel setting.
uint32_t InvertedBits(int32_t channel) {
  switch (channel) {
    case 1: return 0x00FF0000u;  // red
    case 2: return 0x0000FF00u;  // green
    case 3: return 0x000000FFu;  // blue
    default: return 0x00FFFFFFu;
  }
}

struct SolarizeKernel {
  SolarizeKernel(uint32_t scaledThreshold, int32_t channel)
      : blueRed(_mm_set1_epi32(0x00FF00FF)),
        blueRedWeights(_mm_set1_epi32((77 << 16) | 29)),
        greenAlphaWeights(_mm_set1_epi32(150)),
        // L >= T as L > T - 1: both fit in 17 bits, so the signed compare is exact,
        // and T = 0 gives -1, below every L.
        belowThreshold(_mm_set1_epi32(int32_t(scaledThreshold) - 1)),
        inverted(_mm_set1_epi32(int32_t(InvertedBits(channel)))) {}

  __m128i operator()(__m128i pixels) const {
    // Words per pixel: (blue, red) and (green, alpha); one multiply-add each gives
    // 29 B + 77 R and 150 G in the pixel's 32-bit lane.
    const __m128i br = _mm_and_si128(pixels, blueRed);
    const __m128i ga = _mm_srli_epi16(pixels, 8);
    const __m128i luminance = _mm_add_epi32(_mm_madd_epi16(br, blueRedWeights),
                                            _mm_madd_epi16(ga, greenAlphaWeights));
    const __m128i reached = _mm_cmpgt_epi32(luminance, belowThreshold);
    return _mm_xor_si128(pixels, _mm_and_si128(reached, inverted));
  }

  __m128i blueRed, blueRedWeights, greenAlphaWeights, belowThreshold, inverted;
};

}  // namespace

void SolarizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores stores) {
  sse2_row::ApplyRow(src, dst, count, stores, SolarizeKernel(scaledThreshold, channel));
}

#else

void SolarizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores) {
  SolarizeRowReference(src, dst, count, scaledThreshold, channel);
}

#endif
