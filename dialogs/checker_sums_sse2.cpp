// The SSE2 row of checker_sums.h: two pixels per 16-bit vector, four per load, the
// sums held in registers across the rows. Built with -msse2; everything vector stays
// inside the row function.
#include <emmintrin.h>

#include "dialogs/checker_sums.h"
#include "filters/read_ahead.h"

void CheckerSumsRowSse2(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                        uint16_t* sums, int32_t count) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i one = _mm_set1_epi16(1);
  // (x + 1) * 257 >> 16 is x / 255 rounded down for every x from 0 to 65025.
  const __m128i reciprocal = _mm_set1_epi16(257);
  // The alpha bytes: a pixel is opaque when ANDing leaves them all set.
  const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
  int32_t i = 0;
  for (; i + 4 <= count; i += 4) {
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(board + i * 4));
    const __m128i level[2] = {_mm_unpacklo_epi8(b, zero), _mm_unpackhi_epi8(b, zero)};
    // 255 * level + alpha * (value - level), exact in wrapped 16-bit arithmetic (see
    // the AVX2 row), plus the divisor's 1.
    const __m128i base[2] = {_mm_add_epi16(_mm_sub_epi16(_mm_slli_epi16(level[0], 8), level[0]), one),
                             _mm_add_epi16(_mm_sub_epi16(_mm_slli_epi16(level[1], 8), level[1]), one)};
    __m128i* s = reinterpret_cast<__m128i*>(sums + i * 4);
    __m128i sum[2] = {_mm_loadu_si128(s), _mm_loadu_si128(s + 1)};
    for (int32_t r = 0; r < rowCount; ++r) {
      // Several rows side by side, which may come straight from the host's image, far
      // from the caches (filters/read_ahead.h).
      _mm_prefetch(reinterpret_cast<const char*>(rows[r] + i * 4 + kReadAheadBytes), _MM_HINT_T0);
      const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[r] + i * 4));
      const __m128i value[2] = {_mm_unpacklo_epi8(p, zero), _mm_unpackhi_epi8(p, zero)};
      if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(p, opaque), opaque)) == 0xFFFF) {
        // Four opaque pixels, as most of a photo is: the board does not show.
        sum[0] = _mm_add_epi16(sum[0], value[0]);
        sum[1] = _mm_add_epi16(sum[1], value[1]);
        continue;
      }
      for (int h = 0; h < 2; ++h) {
        // Each pixel's alpha in its four words.
        const __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(value[h], 0xFF), 0xFF);
        const __m128i blend =
            _mm_add_epi16(base[h], _mm_mullo_epi16(alpha, _mm_sub_epi16(value[h], level[h])));
        sum[h] = _mm_add_epi16(sum[h], _mm_mulhi_epu16(blend, reciprocal));
      }
    }
    _mm_storeu_si128(s, sum[0]);
    _mm_storeu_si128(s + 1, sum[1]);
  }
  CheckerSumsRowScalarFrom(i, rows, rowCount, board, sums, count);
}
