// Solarization over one row of BGRA pixels: the reference row, and the same row on each
// path (filters/row_paths.h), which must agree with it byte for byte. Alpha is copied;
// `src` may equal `dst`.
#pragma once
#include <cstdint>

#include "filters/row_stores.h"

// `scaledThreshold` is the threshold times 256 (0..65280); `channel` as for Solarize.
void SolarizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count,
                          uint32_t scaledThreshold, int32_t channel);

// The reference row under the paths' signature; it writes through the caches whatever
// `stores` says (filters/row_paths.h).
void SolarizeRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                       int32_t channel, RowStores stores);
// Only on a processor with SSE2, respectively AVX2.
void SolarizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores stores);
void SolarizeRowAvx2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores stores);
