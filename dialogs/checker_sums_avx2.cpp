// The AVX2 row of checker_sums.h: four pixels per 16-bit vector, eight per load, the
// sums held in registers across the rows. Built with -mavx2; everything vector stays
// inside the row function.
#include <immintrin.h>

#include "dialogs/checker_sums.h"
#include "filters/read_ahead.h"

void CheckerSumsRowAvx2(const uint8_t* const* rows, int32_t rowCount, const uint8_t* board,
                        uint16_t* sums, int32_t count) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i one = _mm256_set1_epi16(1);
  // (x + 1) * 257 >> 16 is x / 255 rounded down for every x from 0 to 65025.
  const __m256i reciprocal = _mm256_set1_epi16(257);
  const __m256i opaque = _mm256_set1_epi8(-1);
  // Byte 3 of each pixel into its four bytes.
  const __m256i alphas = _mm256_setr_epi8(3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15,
                                          3, 3, 3, 3, 7, 7, 7, 7, 11, 11, 11, 11, 15, 15, 15, 15);
  int32_t i = 0;
  for (; i + 8 <= count; i += 8) {
    // Unpacking works within 128-bit halves, so the low unpack of eight pixels holds
    // pixels 0, 1, 4, 5 and the high one 2, 3, 6, 7. The sums are held in that order
    // while the rows are added, and put back in order once.
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(board + i * 4));
    const __m256i level[2] = {_mm256_unpacklo_epi8(b, zero), _mm256_unpackhi_epi8(b, zero)};
    // level * (255 - alpha) + value * alpha = 255 * level + alpha * (value - level):
    // one multiply fewer. The product may wrap in 16 bits, the sum (0 to 65025) does
    // not, so the wrapped arithmetic gives it exactly. The 1 is the divisor's.
    const __m256i base[2] = {
        _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(level[0], 8), level[0]), one),
        _mm256_add_epi16(_mm256_sub_epi16(_mm256_slli_epi16(level[1], 8), level[1]), one)};
    __m256i* s = reinterpret_cast<__m256i*>(sums + i * 4);
    const __m256i first = _mm256_loadu_si256(s), second = _mm256_loadu_si256(s + 1);
    __m256i sum[2] = {_mm256_permute2x128_si256(first, second, 0x20),
                      _mm256_permute2x128_si256(first, second, 0x31)};
    for (int32_t r = 0; r < rowCount; ++r) {
      // Several rows side by side, which may come straight from the host's image, far
      // from the caches (filters/read_ahead.h).
      _mm_prefetch(reinterpret_cast<const char*>(rows[r] + i * 4 + kReadAheadBytes), _MM_HINT_T0);
      const __m256i p = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(rows[r] + i * 4));
      const __m256i a = _mm256_shuffle_epi8(p, alphas);
      const __m256i value[2] = {_mm256_unpacklo_epi8(p, zero), _mm256_unpackhi_epi8(p, zero)};
      if (_mm256_movemask_epi8(_mm256_cmpeq_epi8(a, opaque)) == -1) {
        // Eight opaque pixels, as most of a photo is: the board does not show.
        sum[0] = _mm256_add_epi16(sum[0], value[0]);
        sum[1] = _mm256_add_epi16(sum[1], value[1]);
        continue;
      }
      const __m256i alpha[2] = {_mm256_unpacklo_epi8(a, zero), _mm256_unpackhi_epi8(a, zero)};
      for (int h = 0; h < 2; ++h) {
        const __m256i blend = _mm256_add_epi16(
            base[h], _mm256_mullo_epi16(alpha[h], _mm256_sub_epi16(value[h], level[h])));
        sum[h] = _mm256_add_epi16(sum[h], _mm256_mulhi_epu16(blend, reciprocal));
      }
    }
    _mm256_storeu_si256(s, _mm256_permute2x128_si256(sum[0], sum[1], 0x20));
    _mm256_storeu_si256(s + 1, _mm256_permute2x128_si256(sum[0], sum[1], 0x31));
  }
  CheckerSumsRowScalarFrom(i, rows, rowCount, board, sums, count);
}
