#include "filters/posterize_rows.h"

#include "filters/pixel_rules.h"

void PosterizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels) {
  for (int32_t i = 0; i < count; ++i, src += 4, dst += 4) {
    const uint8_t alpha = src[3];
    for (int c = 0; c < 3; ++c) dst[c] = PosterizeChannel(src[c], levels);
    dst[3] = alpha;
  }
}

#if defined(__SSE2__)
#include "filters/sse2_row.h"

namespace {

// t * 255 / (n - 1) without dividing: t times K / 2^16, K = 255 * 2^16 / (n - 1)
// rounded up. For t <= n - 1 <= 254 the excess stays below 254 / 2^16, less than the
// 1 / (n - 1) between t * 255 / (n - 1) and the next integer, so the floor is exact.
// K needs 24 bits; its high and low 16-bit halves go through a low and a high multiply.
// Alpha words get constants that give back their input (a * 256 >> 8, times 1), which
// spares masking it back in.
struct PosterizeKernel {
  explicit PosterizeKernel(uint32_t levels)
      : levelCount(PerPixel(int16_t(levels), 256)),
        scaleHigh(PerPixel(int16_t(Scale(levels) >> 16), 1)),
        scaleLow(PerPixel(int16_t(uint16_t(Scale(levels))), 0)) {}

  static uint32_t Scale(uint32_t levels) {
    const uint32_t steps = levels - 1;
    return ((255u << 16) + steps - 1) / steps;
  }

  // Words of two unpacked pixels, blue first.
  static __m128i PerPixel(int16_t colour, int16_t alpha) {
    return _mm_set_epi16(alpha, colour, colour, colour, alpha, colour, colour, colour);
  }

  // Two pixels, one channel per 16-bit word.
  __m128i TwoPixels(__m128i v) const {
    // v * n <= 255 * 255 (and a * 256) fits a word.
    const __m128i band = _mm_srli_epi16(_mm_mullo_epi16(v, levelCount), 8);
    return _mm_add_epi16(_mm_mullo_epi16(band, scaleHigh), _mm_mulhi_epu16(band, scaleLow));
  }

  __m128i operator()(__m128i pixels) const {
    const __m128i zero = _mm_setzero_si128();
    return _mm_packus_epi16(TwoPixels(_mm_unpacklo_epi8(pixels, zero)),
                            TwoPixels(_mm_unpackhi_epi8(pixels, zero)));
  }

  __m128i levelCount, scaleHigh, scaleLow;
};

}  // namespace

void PosterizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores stores) {
  sse2_row::ApplyRow(src, dst, count, stores, PosterizeKernel(levels));
}

#else

void PosterizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores) {
  PosterizeRowReference(src, dst, count, levels);
}

#endif
