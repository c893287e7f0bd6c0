// The loop shared by the SIMD rows, and the vector operations of each width. A kernel
// turns one vector of BGRA pixels into its results; ApplyRow drives it over a row of
// any length and alignment.
//
// Only filters/rows_sse2.cpp (built with -msse2) and filters/rows_avx2.cpp (built with
// -mavx2) include this. Everything here has internal linkage, so that each of them
// keeps its own copy compiled for its own instruction set: a shared inline function
// would be one COMDAT copy for the whole module, and the linker could hand the AVX2
// one to a caller on a processor without AVX2.
#pragma once
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "filters/row_stores.h"

namespace {
namespace simd_row {

struct Sse2Vectors {
  using Vector = __m128i;
  static constexpr int32_t kBytes = 16;

  static Vector Load(const uint8_t* p) { return _mm_loadu_si128(reinterpret_cast<const Vector*>(p)); }
  static void Store(uint8_t* p, Vector v) { _mm_store_si128(reinterpret_cast<Vector*>(p), v); }
  static void StoreUnaligned(uint8_t* p, Vector v) { _mm_storeu_si128(reinterpret_cast<Vector*>(p), v); }
  static void Stream(uint8_t* p, Vector v) { _mm_stream_si128(reinterpret_cast<Vector*>(p), v); }

  static Vector Zero() { return _mm_setzero_si128(); }
  static Vector EachPixel(uint32_t x) { return _mm_set1_epi32(int32_t(x)); }
  // Words (blue, green, red, alpha) of an unpacked pixel.
  static Vector EachUnpackedPixel(uint16_t colour, uint16_t alpha) {
    return _mm_set1_epi64x(int64_t(uint64_t(alpha) << 48 | uint64_t(colour) << 32 |
                                   uint64_t(colour) << 16 | colour));
  }

  static Vector And(Vector a, Vector b) { return _mm_and_si128(a, b); }
  static Vector Xor(Vector a, Vector b) { return _mm_xor_si128(a, b); }
  static Vector AddWords(Vector a, Vector b) { return _mm_add_epi16(a, b); }
  static Vector AddDwords(Vector a, Vector b) { return _mm_add_epi32(a, b); }
  static Vector HighByteOfWords(Vector a) { return _mm_srli_epi16(a, 8); }
  static Vector LowThreeBytesOfDwords(Vector a) { return _mm_srli_epi32(a, 8); }
  static Vector MulHighWords(Vector a, Vector b) { return _mm_mulhi_epu16(a, b); }
  static Vector MulAddWords(Vector a, Vector b) { return _mm_madd_epi16(a, b); }
  static Vector GreaterDwords(Vector a, Vector b) { return _mm_cmpgt_epi32(a, b); }
  static Vector UnpackLowBytes(Vector a, Vector b) { return _mm_unpacklo_epi8(a, b); }
  static Vector UnpackHighBytes(Vector a, Vector b) { return _mm_unpackhi_epi8(a, b); }
  static Vector PackWords(Vector a, Vector b) { return _mm_packus_epi16(a, b); }
};

#if defined(__AVX2__)
// The same operations on 32 bytes. Unpacking and packing work within each 16-byte
// half, so an unpack followed by a pack keeps the pixels in order, as on SSE2.
struct Avx2Vectors {
  using Vector = __m256i;
  static constexpr int32_t kBytes = 32;

  static Vector Load(const uint8_t* p) { return _mm256_loadu_si256(reinterpret_cast<const Vector*>(p)); }
  static void Store(uint8_t* p, Vector v) { _mm256_store_si256(reinterpret_cast<Vector*>(p), v); }
  static void StoreUnaligned(uint8_t* p, Vector v) { _mm256_storeu_si256(reinterpret_cast<Vector*>(p), v); }
  static void Stream(uint8_t* p, Vector v) { _mm256_stream_si256(reinterpret_cast<Vector*>(p), v); }

  static Vector Zero() { return _mm256_setzero_si256(); }
  static Vector EachPixel(uint32_t x) { return _mm256_set1_epi32(int32_t(x)); }
  static Vector EachUnpackedPixel(uint16_t colour, uint16_t alpha) {
    return _mm256_set1_epi64x(int64_t(uint64_t(alpha) << 48 | uint64_t(colour) << 32 |
                                      uint64_t(colour) << 16 | colour));
  }

  static Vector And(Vector a, Vector b) { return _mm256_and_si256(a, b); }
  static Vector Xor(Vector a, Vector b) { return _mm256_xor_si256(a, b); }
  static Vector AddWords(Vector a, Vector b) { return _mm256_add_epi16(a, b); }
  static Vector AddDwords(Vector a, Vector b) { return _mm256_add_epi32(a, b); }
  static Vector HighByteOfWords(Vector a) { return _mm256_srli_epi16(a, 8); }
  static Vector LowThreeBytesOfDwords(Vector a) { return _mm256_srli_epi32(a, 8); }
  static Vector MulHighWords(Vector a, Vector b) { return _mm256_mulhi_epu16(a, b); }
  static Vector MulAddWords(Vector a, Vector b) { return _mm256_madd_epi16(a, b); }
  static Vector GreaterDwords(Vector a, Vector b) { return _mm256_cmpgt_epi32(a, b); }
  static Vector UnpackLowBytes(Vector a, Vector b) { return _mm256_unpacklo_epi8(a, b); }
  static Vector UnpackHighBytes(Vector a, Vector b) { return _mm256_unpackhi_epi8(a, b); }
  static Vector PackWords(Vector a, Vector b) { return _mm256_packus_epi16(a, b); }
};
#endif

// Fewer pixels than a vector go through a scratch vector, so that nothing outside the
// row is read or written.
template <class Ops, class Kernel>
void ApplyPartial(const uint8_t* src, uint8_t* dst, int32_t count, const Kernel& kernel) {
  uint8_t block[Ops::kBytes] = {};
  std::memcpy(block, src, size_t(count) * 4);
  Ops::StoreUnaligned(block, kernel(Ops::Load(block)));
  std::memcpy(dst, block, size_t(count) * 4);
}

enum class Store { kUnaligned, kAligned, kStreaming };

template <class Ops, Store kind>
void StoreVector(uint8_t* p, typename Ops::Vector v) {
  if constexpr (kind == Store::kUnaligned) {
    Ops::StoreUnaligned(p, v);
  } else if constexpr (kind == Store::kAligned) {
    Ops::Store(p, v);
  } else {
    Ops::Stream(p, v);
  }
}

// Whole vectors from the start of the row, one cache line (64 bytes) per step, then
// what is left of them; returns the pixels done. Each vector is read, turned and
// written before the next is read: its bytes are its own, so `src` may equal `dst`, and
// a 32-bit build's eight vector registers hold one vector's work and the constants
// without spilling (the processor overlaps the steps by itself).
//
// One row read in one run: no software prefetch (filters/read_ahead.h).
template <class Ops, Store kind, class Kernel>
int32_t ApplyVectors(const uint8_t* src, uint8_t* dst, int32_t count, const Kernel& kernel) {
  constexpr int32_t kBytes = Ops::kBytes;
  constexpr int32_t kPixels = kBytes / 4;
  constexpr int32_t kPerLine = 64 / kBytes;
  constexpr auto store = StoreVector<Ops, kind>;
  int32_t i = 0;
  for (; i + kPerLine * kPixels <= count; i += kPerLine * kPixels) {
    for (int32_t v = 0; v < kPerLine; ++v) {
      store(dst + i * 4 + v * kBytes, kernel(Ops::Load(src + i * 4 + v * kBytes)));
    }
  }
  for (; i + kPixels <= count; i += kPixels) store(dst + i * 4, kernel(Ops::Load(src + i * 4)));
  // Streamed data must be visible before the host (or the progress callback) looks. The
  // fence is here, in the function that streams, so that no way out of it can miss
  // it, however the compiler inlines (tools/check_simd_confinement.py checks this).
  if constexpr (kind == Store::kStreaming) _mm_sfence();
  return i;
}

template <class Ops, class Kernel>
void ApplyRow(const uint8_t* src, uint8_t* dst, int32_t count, RowStores stores,
              const Kernel& kernel) {
  if (count <= 0) return;
  constexpr int32_t kBytes = Ops::kBytes;
  const uintptr_t address = reinterpret_cast<uintptr_t>(dst);
  // A destination on a pixel boundary gets a short head up to the next vector line,
  // after which every store is aligned (and may stream). Any other takes unaligned
  // stores throughout.
  if (address % 4 != 0) {
    const int32_t done = ApplyVectors<Ops, Store::kUnaligned>(src, dst, count, kernel);
    if (done < count) ApplyPartial<Ops>(src + done * 4, dst + done * 4, count - done, kernel);
    return;
  }
  int32_t head = int32_t((kBytes - address % kBytes) % kBytes / 4);
  if (head > count) head = count;
  if (head > 0) {
    ApplyPartial<Ops>(src, dst, head, kernel);
    src += head * 4;
    dst += head * 4;
    count -= head;
  }
  const int32_t done = stores == RowStores::kStreaming
                           ? ApplyVectors<Ops, Store::kStreaming>(src, dst, count, kernel)
                           : ApplyVectors<Ops, Store::kAligned>(src, dst, count, kernel);
  if (done < count) ApplyPartial<Ops>(src + done * 4, dst + done * 4, count - done, kernel);
}

}  // namespace simd_row
}  // namespace
