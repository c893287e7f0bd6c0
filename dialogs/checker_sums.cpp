#include "dialogs/checker_sums.h"

void CheckerSumsRowScalar(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                          uint16_t* sums, int32_t count) {
  for (int32_t r = 0; r < rowCount; ++r) {
    const uint8_t* p = rows[r];
    for (int32_t i = 0; i < count * 4; i += 4) {
      const uint32_t alpha = p[i + 3];
      for (int k = i; k < i + 4; ++k) {
        sums[k] = static_cast<uint16_t>(sums[k] + (board[k] * (255u - alpha) + p[k] * alpha) / 255u);
      }
    }
  }
}

CheckerSumsRow CheckerSumsRowOf(RowPath path) {
  switch (path) {
    case RowPath::kSse2: return CheckerSumsRowSse2;
    case RowPath::kAvx2: return CheckerSumsRowAvx2;
    default: return CheckerSumsRowScalar;
  }
}
