#include "filters/solarize_rows.h"

#include "filters/pixel_rules.h"

void SolarizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count,
                          uint32_t scaledThreshold, int32_t channel) {
  ApplyRuleToRow(src, dst, count, [=](Bgr c) { return Solarize(c, scaledThreshold, channel); });
}

void SolarizeRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                       int32_t channel, RowStores) {
  SolarizeRowReference(src, dst, count, scaledThreshold, channel);
}
