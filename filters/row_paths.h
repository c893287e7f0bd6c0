// The ways a filter row can run: the scalar rule, SSE2 and AVX2. Each path's rows give
// the same bytes; the fastest one the processor has is chosen once (filters/active_rows.h).
#pragma once
#include <cstdint>

#include "filters/row_stores.h"

enum class RowPath { kScalar, kSse2, kAvx2 };

// Slowest first.
inline constexpr RowPath kRowPaths[] = {RowPath::kScalar, RowPath::kSse2, RowPath::kAvx2};

// "scalar", "SSE2", "AVX2".
const char* RowPathName(RowPath path);

struct CpuFeatures {
  bool sse2 = false;
  bool avx2 = false;  // the instructions and the operating system's saving of YMM state
};

// What cpuid and xgetbv report (no operating-system call; on Windows the glue asks the
// system about SSE2 as well).
CpuFeatures CpuidFeatures();

bool HasRowPath(const CpuFeatures& features, RowPath path);
RowPath FastestRowPath(const CpuFeatures& features);

// The three filters' rows of one path. `src` may equal `dst`. Every SIMD row writes as
// `stores` says; the scalar rows always write through the caches, since they run where
// there may be no SSE2, and so no non-temporal store.
struct FilterRows {
  void (*solarize)(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                   int32_t channel, RowStores stores);
  void (*posterize)(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                    RowStores stores);
  void (*cutLowBits)(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                     uint8_t greenMask, uint8_t blueMask, RowStores stores);
};

// Only call a path's rows on a processor that has it.
const FilterRows& RowsOf(RowPath path);
