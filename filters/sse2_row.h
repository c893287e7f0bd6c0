// The loop shared by the SSE2 rows: a kernel turns four BGRA pixels (one 16-byte
// vector) into four results; this drives it over a row of any length and alignment.
// Only the rows' own .cpp files include it.
#pragma once
#include <emmintrin.h>

#include <cstdint>
#include <cstring>

#include "filters/row_stores.h"

namespace sse2_row {

inline constexpr int32_t kPixelsPerVector = 4;
inline constexpr int32_t kVectorBytes = 16;

inline __m128i Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const __m128i*>(p)); }

// Fewer pixels than a vector go through a scratch vector, so that nothing outside the
// row is read or written.
template <class Kernel>
void ApplyPartial(const uint8_t* src, uint8_t* dst, int32_t count, const Kernel& kernel) {
  uint8_t block[kVectorBytes] = {};
  std::memcpy(block, src, size_t(count) * 4);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(block), kernel(Load(block)));
  std::memcpy(dst, block, size_t(count) * 4);
}

// Each vector is read before its results are written, so `src` may equal `dst`.
template <class Kernel>
void ApplyRow(const uint8_t* src, uint8_t* dst, int32_t count, RowStores stores,
              const Kernel& kernel) {
  if (count <= 0) return;
  const uintptr_t address = reinterpret_cast<uintptr_t>(dst);
  // A destination on a pixel boundary gets a short head up to the next 16-byte line,
  // after which every store is aligned (and may stream). Any other takes unaligned
  // stores throughout.
  if (address % 4 != 0) {
    int32_t i = 0;
    for (; i + kPixelsPerVector <= count; i += kPixelsPerVector) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i * 4), kernel(Load(src + i * 4)));
    }
    if (i < count) ApplyPartial(src + i * 4, dst + i * 4, count - i, kernel);
    return;
  }
  int32_t head = int32_t((kVectorBytes - address % kVectorBytes) % kVectorBytes / 4);
  if (head > count) head = count;
  if (head > 0) {
    ApplyPartial(src, dst, head, kernel);
    src += head * 4;
    dst += head * 4;
    count -= head;
  }
  const int32_t body = count - count % kPixelsPerVector;
  int32_t i = 0;
  if (stores == RowStores::kStreaming) {
    for (; i < body; i += kPixelsPerVector) {
      _mm_stream_si128(reinterpret_cast<__m128i*>(dst + i * 4), kernel(Load(src + i * 4)));
    }
    // Streamed data must be visible before the host (or the progress callback) looks.
    _mm_sfence();
  } else {
    for (; i < body; i += kPixelsPerVector) {
      _mm_store_si128(reinterpret_cast<__m128i*>(dst + i * 4), kernel(Load(src + i * 4)));
    }
  }
  if (i < count) ApplyPartial(src + i * 4, dst + i * 4, count - i, kernel);
}

}  // namespace sse2_row
