#include "filters/posterize_rows.h"

#include "filters/pixel_rules.h"

void PosterizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels) {
  ApplyRuleToRow(src, dst, count, [=](Bgr c) { return Posterize(c, levels); });
}

// The rule once per value instead of three divisions per pixel. The table costs 256
// divisions, so a row of fewer pixels than that divides per pixel.
void PosterizeRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                        RowStores) {
  if (count * 3 < 256) {
    PosterizeRowReference(src, dst, count, levels);
    return;
  }
  uint8_t table[256];
  for (uint32_t v = 0; v < 256; ++v) table[v] = PosterizeChannel(v, levels);
  ApplyRuleToRow(src, dst, count, [&](Bgr c) { return Bgr{table[c.b], table[c.g], table[c.r]}; });
}
