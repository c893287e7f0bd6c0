// Solarization over one row of BGRA pixels: the reference row and the fast row, which
// must agree byte for byte. Alpha is copied; `src` may equal `dst`.
#pragma once
#include <cstdint>

#include "filters/row_stores.h"

// `scaledThreshold` is the threshold times 256 (0..65280); `channel` as for Solarize.
void SolarizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count,
                          uint32_t scaledThreshold, int32_t channel);
void SolarizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores stores);
