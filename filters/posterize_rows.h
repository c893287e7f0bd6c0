// Posterization over one row of BGRA pixels: the reference row, and the same row on each
// path (filters/row_paths.h), which must agree with it byte for byte. Alpha is copied;
// `src` may equal `dst`.
#pragma once
#include <cstdint>

#include "filters/row_stores.h"

// `levels` is n, 2..255.
void PosterizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels);

// The reference row under the paths' signature; it writes through the caches whatever
// `stores` says (filters/row_paths.h).
void PosterizeRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                        RowStores stores);
// Only on a processor with SSE2, respectively AVX2.
void PosterizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores stores);
void PosterizeRowAvx2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores stores);
