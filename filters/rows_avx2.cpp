// The AVX2 rows. Built with -mavx2; nothing here may run before the processor is known
// to have AVX2 and to save YMM state (filters/row_paths.h).
#include "filters/cut_low_bits_rows.h"
#include "filters/posterize_rows.h"
#include "filters/simd_kernels.h"
#include "filters/solarize_rows.h"

using simd_row::ApplyRow;
using Ops = simd_row::Avx2Vectors;

void SolarizeRowAvx2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t scaledThreshold,
                     int32_t channel, RowStores stores) {
  simd_row::SolarizeRow<Ops>(src, dst, count, scaledThreshold, channel, stores);
}

void PosterizeRowAvx2(const uint8_t* src, uint8_t* dst, int32_t count, uint32_t levels,
                      RowStores stores) {
  simd_row::PosterizeRow<Ops>(src, dst, count, levels, stores);
}

void CutLowBitsRowAvx2(const uint8_t* src, uint8_t* dst, int32_t count, uint8_t redMask,
                       uint8_t greenMask, uint8_t blueMask, RowStores stores) {
  ApplyRow<Ops>(src, dst, count, stores,
                simd_row::CutLowBitsKernel<Ops>(redMask, greenMask, blueMask));
}
