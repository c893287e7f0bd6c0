// Posterization over one row of BGRA pixels: the reference row and the fast row, which
// must agree byte for byte. Alpha is copied; `src` may equal `dst`.
#pragma once
#include <cstdint>

#include "filters/row_stores.h"

// `levels` is n, 2..255.
void PosterizeRowReference(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels);
void PosterizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores stores);
