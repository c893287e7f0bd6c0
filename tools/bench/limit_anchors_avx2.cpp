// The limits with AVX2 (built with -mavx2; run only where the processor has it and
// saves its registers).
#include <immintrin.h>

#include "tools/bench/limit_anchors.h"

// One cache line per step.
void StreamingCopyAvx2(const uint8_t* src, uint8_t* dst, size_t bytes) {
  for (size_t i = 0; i < bytes; i += 64) {
    const auto* from = reinterpret_cast<const __m256i*>(src + i);
    auto* to = reinterpret_cast<__m256i*>(dst + i);
    const __m256i a = _mm256_load_si256(from), b = _mm256_load_si256(from + 1);
    _mm256_stream_si256(to, a);
    _mm256_stream_si256(to + 1, b);
  }
  _mm_sfence();
}

void InPlacePassAvx2(uint8_t* buffer, size_t bytes) {
  const __m256i flip = _mm256_set1_epi8(1);
  for (size_t i = 0; i < bytes; i += 64) {
    auto* p = reinterpret_cast<__m256i*>(buffer + i);
    const __m256i a = _mm256_load_si256(p), b = _mm256_load_si256(p + 1);
    _mm256_store_si256(p, _mm256_xor_si256(a, flip));
    _mm256_store_si256(p + 1, _mm256_xor_si256(b, flip));
  }
}
