// The inner loop of the zoomed preview: rows of image pixels composited over the board
// and added up per column. One function per way a row can run (filters/row_paths.h);
// each adds the same numbers.
#pragma once
#include <cstdint>

#include "filters/row_paths.h"

// For each of `rowCount` rows of `count` pixels and each pixel i, adds to sums[4i + k]
// colour byte k (blue, green, red) over the board's level board[4i + k], as OverBoard
// composites it (checker_blend.h) with the pixel's own alpha. sums[4i + 3] is no sum:
// the SIMD rows carry it in their vectors, so that a pixel's words load and store
// together, and nothing reads it. The caller keeps each sum within 16 bits.
using CheckerSumsRow = void (*)(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                                uint16_t* sums, int32_t count);

void CheckerSumsRowScalar(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                          uint16_t* sums, int32_t count);
// The scalar row over pixels `first` to count - 1 only: what a SIMD row leaves after its
// last whole vector.
void CheckerSumsRowScalarFrom(int32_t first, const uint8_t* const* rows, int32_t rowCount,
                              const uint8_t* board, uint16_t* sums, int32_t count);
// Only on a processor that has the instructions (HasRowPath).
void CheckerSumsRowSse2(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                        uint16_t* sums, int32_t count);
void CheckerSumsRowAvx2(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                        uint16_t* sums, int32_t count);

CheckerSumsRow CheckerSumsRowOf(RowPath path);
