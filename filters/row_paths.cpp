#include "filters/row_paths.h"

#include <cpuid.h>

#include "filters/cut_low_bits_rows.h"
#include "filters/posterize_rows.h"
#include "filters/solarize_rows.h"

namespace {

// XCR0, the state the operating system saves on a task switch. Spelled out in assembly:
// the intrinsic would need -mxsave for this whole file.
uint64_t ReadXcr0() {
  uint32_t low, high;
  __asm__ volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(0));
  return uint64_t(high) << 32 | low;
}

constexpr FilterRows kScalarRows{SolarizeRowScalar, PosterizeRowScalar, CutLowBitsRowScalar};
constexpr FilterRows kSse2Rows{SolarizeRowSse2, PosterizeRowSse2, CutLowBitsRowSse2};
constexpr FilterRows kAvx2Rows{SolarizeRowAvx2, PosterizeRowAvx2, CutLowBitsRowAvx2};

}  // namespace

const char* RowPathName(RowPath path) {
  switch (path) {
    case RowPath::kSse2: return "SSE2";
    case RowPath::kAvx2: return "AVX2";
    default: return "scalar";
  }
}

CpuFeatures CpuidFeatures() {
  CpuFeatures features;
  unsigned a, b, c, d;
  // __get_cpuid also finds out whether there is a cpuid instruction at all.
  if (!__get_cpuid(1, &a, &b, &c, &d)) return features;
  features.sse2 = (d & bit_SSE2) != 0;
  // AVX needs the OS to save XMM and YMM registers (XCR0 bits 1 and 2), which it
  // announces through OSXSAVE.
  const bool avxState = (c & bit_OSXSAVE) && (c & bit_AVX) && (ReadXcr0() & 6) == 6;
  if (avxState && __get_cpuid_max(0, nullptr) >= 7) {
    __cpuid_count(7, 0, a, b, c, d);
    features.avx2 = (b & bit_AVX2) != 0;
  }
  return features;
}

bool HasRowPath(const CpuFeatures& features, RowPath path) {
  switch (path) {
    case RowPath::kSse2: return features.sse2;
    case RowPath::kAvx2: return features.sse2 && features.avx2;
    default: return true;
  }
}

RowPath FastestRowPath(const CpuFeatures& features) {
  RowPath fastest = RowPath::kScalar;
  for (RowPath path : kRowPaths) {
    if (HasRowPath(features, path)) fastest = path;
  }
  return fastest;
}

const FilterRows& RowsOf(RowPath path) {
  switch (path) {
    case RowPath::kSse2: return kSse2Rows;
    case RowPath::kAvx2: return kAvx2Rows;
    default: return kScalarRows;
  }
}
