// The limits with SSE2 (built with -msse2; run only where the processor has it).
#include <immintrin.h>

#include "tools/bench/limit_anchors.h"

// One cache line per step.
void StreamingCopySse2(const uint8_t* src, uint8_t* dst, size_t bytes) {
  for (size_t i = 0; i < bytes; i += 64) {
    const auto* from = reinterpret_cast<const __m128i*>(src + i);
    auto* to = reinterpret_cast<__m128i*>(dst + i);
    const __m128i a = _mm_load_si128(from), b = _mm_load_si128(from + 1);
    const __m128i c = _mm_load_si128(from + 2), d = _mm_load_si128(from + 3);
    _mm_stream_si128(to, a);
    _mm_stream_si128(to + 1, b);
    _mm_stream_si128(to + 2, c);
    _mm_stream_si128(to + 3, d);
  }
  _mm_sfence();
}

void InPlacePassSse2(uint8_t* buffer, size_t bytes) {
  const __m128i flip = _mm_set1_epi8(1);
  for (size_t i = 0; i < bytes; i += 64) {
    auto* p = reinterpret_cast<__m128i*>(buffer + i);
    const __m128i a = _mm_load_si128(p), b = _mm_load_si128(p + 1);
    const __m128i c = _mm_load_si128(p + 2), d = _mm_load_si128(p + 3);
    _mm_store_si128(p, _mm_xor_si128(a, flip));
    _mm_store_si128(p + 1, _mm_xor_si128(b, flip));
    _mm_store_si128(p + 2, _mm_xor_si128(c, flip));
    _mm_store_si128(p + 3, _mm_xor_si128(d, flip));
  }
}
