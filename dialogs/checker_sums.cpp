#include "dialogs/checker_sums.h"

#include "dialogs/checker_blend.h"

void CheckerSumsRowScalarFrom(int32_t first, const uint8_t* const* rows, int32_t rowCount,
                              const uint8_t* board, uint16_t* sums, int32_t count) {
  for (int32_t r = 0; r < rowCount; ++r) {
    const uint8_t* p = rows[r];
    for (int32_t i = first * 4; i < count * 4; i += 4) {
      for (int k = i; k < i + 3; ++k) {
        sums[k] = static_cast<uint16_t>(sums[k] + OverBoard(board[k], p[k], p[i + 3]));
      }
    }
  }
}

void CheckerSumsRowScalar(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                          uint16_t* sums, int32_t count) {
  CheckerSumsRowScalarFrom(0, rows, rowCount, board, sums, count);
}

CheckerSumsRow CheckerSumsRowOf(RowPath path) {
  switch (path) {
    case RowPath::kSse2: return CheckerSumsRowSse2;
    case RowPath::kAvx2: return CheckerSumsRowAvx2;
    default: return CheckerSumsRowScalar;
  }
}
