#include "filters/cut_low_bits_rows.h"

#include "filters/pixel_rules.h"

void CutLowBitsRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                            uint8_t greenMask, uint8_t blueMask) {
  for (int32_t i = 0; i < count; ++i, src += 4, dst += 4) {
    const Bgr out = CutLowBits(Bgr{src[0], src[1], src[2]}, redMask, greenMask, blueMask);
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

struct CutLowBitsKernel {
  CutLowBitsKernel(uint8_t redMask, uint8_t greenMask, uint8_t blueMask)
      : mask(_mm_set1_epi32(int32_t(0xFF000000u | uint32_t(redMask) << 16 |
                                    uint32_t(greenMask) << 8 | blueMask))) {}
  __m128i operator()(__m128i pixels) const { return _mm_and_si128(pixels, mask); }
  __m128i mask;
};

}  // namespace

void CutLowBitsRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                       uint8_t greenMask, uint8_t blueMask, RowStores stores) {
  sse2_row::ApplyRow(src, dst, count, stores, CutLowBitsKernel(redMask, greenMask, blueMask));
}

#else

void CutLowBitsRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                       uint8_t greenMask, uint8_t blueMask, RowStores) {
  CutLowBitsRowReference(src, dst, count, redMask, greenMask, blueMask);
}

#endif
