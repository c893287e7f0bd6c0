// The SSE2 rows. Built with -msse2; nothing here may run before the processor is known
// to have SSE2 (filters/row_paths.h).
#include "filters/cut_low_bits_rows.h"
#include "filters/posterize_rows.h"
#include "filters/simd_kernels.h"
#include "filters/solarize_rows.h"

using simd_row::ApplyRow;
using Ops = simd_row::Sse2Vectors;

// The SSE2 rows write through the caches whatever the hint. Their 16-byte streaming
// stores, four to a cache line and spread over the line's work, left a separate
// destination at 1.5 to 1.9 times the limit for Solarization on an AMD EPYC (1.2 to 1.3
// for Cut Low Bit); cached stores gave 1.2 for every filter.
constexpr RowStores kStores = RowStores::kCached;

void SolarizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores) {
  simd_row::SolarizeRow<Ops>(src, dst, count, scaledThreshold, channel, kStores);
}

void PosterizeRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores) {
  simd_row::PosterizeRow<Ops>(src, dst, count, levels, kStores);
}

void CutLowBitsRowSse2(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                       uint8_t greenMask, uint8_t blueMask, RowStores) {
  ApplyRow<Ops>(src, dst, count, kStores,
                simd_row::CutLowBitsKernel<Ops>(redMask, greenMask, blueMask));
}
