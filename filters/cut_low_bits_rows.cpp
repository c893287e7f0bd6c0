#include "filters/cut_low_bits_rows.h"

#include "filters/pixel_rules.h"

void CutLowBitsRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                            uint8_t greenMask, uint8_t blueMask) {
  ApplyRuleToRow(src, dst, count,
                 [=](Bgr c) { return CutLowBits(c, redMask, greenMask, blueMask); });
}

void CutLowBitsRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                         uint8_t greenMask, uint8_t blueMask, RowStores) {
  CutLowBitsRowReference(src, dst, count, redMask, greenMask, blueMask);
}
