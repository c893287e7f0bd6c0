// How far the SIMD loops ask for picture data ahead of their loads: one policy for the
// filters' rows and the zoomed preview's sums.
// - A loop that reads one row in one run asks for nothing: the processor's own
//   prefetching follows a single stream, and asking only added work.
// - A loop that reads several rows side by side, as the preview's sums do, asks for each
//   row kReadAheadBytes ahead: that many streams at once the hardware follows poorly.
//   The distance is no multiple of 4 KiB, so that rows lying such a multiple apart (the
//   preview's filtered rows do) do not prefetch into the cache sets of the lines being
//   read and evict them.
#pragma once
#include <cstdint>

inline constexpr int32_t kReadAheadBytes = 1024;
