#include "filters/posterize_rows.h"

#include "filters/pixel_rules.h"

void PosterizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels) {
  ApplyRuleToRow(src, dst, count, [=](Bgr c) { return Posterize(c, levels); });
}

void PosterizeRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                        RowStores) {
  PosterizeRowReference(src, dst, count, levels);
}
