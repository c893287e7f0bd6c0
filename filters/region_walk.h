// The row walk shared by every filter: it visits the rows of a region top to bottom,
// hands each row's span to the kernel's row function and reports progress after it.
#pragma once
#include <cstddef>
#include <cstdint>

#include "base/host_types.h"
#include "filters/progress.h"

inline constexpr int kBytesPerPixel = 4;  // blue, green, red, alpha

// Byte offset of pixel (x, y) in a buffer whose rows are `width` pixels long.
inline size_t PixelOffset(int32_t x, int32_t y, int32_t width) {
  return (static_cast<size_t>(static_cast<uint32_t>(y)) * static_cast<uint32_t>(width) +
          static_cast<uint32_t>(x)) * kBytesPerPixel;
}

// RowFn: void(const uint8_t* src, uint8_t* dst, int32_t pixelCount). Source and
// destination may be the same buffer: a row function reads each pixel only to write
// the pixel at the same offset. The region must lie inside both buffers.
template <class RowFn>
void WalkRegion(const uint8_t* source, uint8_t* destination, const PixelRegion& region,
                int32_t width, const ProgressSink* sink, RowFn row) {
  const int32_t h = region.bottom - region.top;
  if (h <= 0) return;
  const int32_t count = region.right > region.left ? region.right - region.left : 0;
  for (int32_t y = region.top; y < region.bottom; ++y) {
    if (count > 0) {
      const size_t offset = PixelOffset(region.left, y, width);
      row(source + offset, destination + offset, count);
    }
    ReportProgress(sink, ProgressAfterRow(y - region.top, h));
  }
}
