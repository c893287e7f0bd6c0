#include "filters/cut_low_bits_rows.h"

#include <cstring>

#include "filters/pixel_rules.h"

void CutLowBitsRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                            uint8_t greenMask, uint8_t blueMask) {
  ApplyRuleToRow(src, dst, count,
                 [=](Bgr c) { return CutLowBits(c, redMask, greenMask, blueMask); });
}

// A whole pixel at a time: one AND with the masks of a little-endian BGRA word.
void CutLowBitsRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                         uint8_t greenMask, uint8_t blueMask, RowStores) {
  const uint32_t mask = 0xFF000000u | uint32_t(redMask) << 16 | uint32_t(greenMask) << 8 | blueMask;
  for (int32_t i = 0; i < count; ++i, src += 4, dst += 4) {
    uint32_t pixel;
    std::memcpy(&pixel, src, 4);
    pixel &= mask;
    std::memcpy(dst, &pixel, 4);
  }
}
