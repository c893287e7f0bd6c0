// The inner loop of the zoomed preview: rows of image pixels composited over the board
// and added up per column. One function per way a row can run (filters/row_paths.h);
// each adds the same numbers.
#pragma once
#include <cstdint>

#include "filters/row_paths.h"

// For each of `rowCount` rows of `count` pixels, each pixel i and each of its four
// bytes k, adds to sums[4i + k]
//   (board[4i + k] * (255 - alpha) + row[4i + k] * alpha) / 255, rounded down,
// with alpha = row[4i + 3]: the byte over the board's level, as BlendOnChecker rounds it
// (checker_blend.h). The caller keeps each sum within 16 bits.
using CheckerSumsRow = void (*)(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                                uint16_t* sums, int32_t count);

void CheckerSumsRowScalar(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                          uint16_t* sums, int32_t count);
// Only on a processor that has the instructions (HasRowPath).
void CheckerSumsRowSse2(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                        uint16_t* sums, int32_t count);
void CheckerSumsRowAvx2(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                        uint16_t* sums, int32_t count);

CheckerSumsRow CheckerSumsRowOf(RowPath path);
