// Cut Low Bit over one row of BGRA pixels: the reference row, and the same row on each
// path (filters/row_paths.h), which must agree with it byte for byte. Alpha is copied;
// `src` may equal `dst`.
#pragma once
#include <cstdint>

#include "filters/row_stores.h"

// The masks are LowBitMask entries (any byte works).
void CutLowBitsRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                            uint8_t greenMask, uint8_t blueMask);

// The reference row under the paths' signature; it writes through the caches whatever
// `stores` says (filters/row_paths.h).
void CutLowBitsRowScalar(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                         uint8_t greenMask, uint8_t blueMask, RowStores stores);
// Only on a processor with SSE2, respectively AVX2.
void CutLowBitsRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                       uint8_t greenMask, uint8_t blueMask, RowStores stores);
void CutLowBitsRowAvx2(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                       uint8_t greenMask, uint8_t blueMask, RowStores stores);
