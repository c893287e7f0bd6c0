// The machine's limits for one pass over a picture, which the benchmarks hold the
// filters against: a streaming copy (wide loads, non-temporal stores, one sfence) for
// a separate destination, and a load/xor/store pass for in place. Each instruction set
// has its own translation unit, built for it alone, like the filters' rows; the
// benchmarks hold every path against the widest one the processor has, and show the
// narrower ones beside it.
//
// `bytes` is a multiple of 64 and both buffers lie on 32-byte boundaries.
#pragma once
#include <cstddef>
#include <cstdint>

#include "filters/row_paths.h"

void StreamingCopySse2(const uint8_t* src, uint8_t* dst, size_t bytes);
void StreamingCopyAvx2(const uint8_t* src, uint8_t* dst, size_t bytes);
// Flips bit 0 of every byte: two passes give the buffer back.
void InPlacePassSse2(uint8_t* buffer, size_t bytes);
void InPlacePassAvx2(uint8_t* buffer, size_t bytes);

struct LimitAnchors {
  void (*copy)(const uint8_t* src, uint8_t* dst, size_t bytes);
  void (*inPlace)(uint8_t* buffer, size_t bytes);
};

// Null functions for the scalar path: the limit is the widest SIMD path's.
inline LimitAnchors AnchorsOf(RowPath path) {
  switch (path) {
    case RowPath::kAvx2: return {StreamingCopyAvx2, InPlacePassAvx2};
    case RowPath::kSse2: return {StreamingCopySse2, InPlacePassSse2};
    default: return {nullptr, nullptr};
  }
}
