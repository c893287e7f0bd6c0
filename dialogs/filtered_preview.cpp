#include "dialogs/filtered_preview.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace {

// Pixels filtered at once: a few KiB that stay in the first-level cache while they are
// composited, and long enough runs for the vector rows.
constexpr int32_t kPiece = 512;

}  // namespace

void ComposeFilteredPreview(uint32_t* buffer, const PanePoint& origin, const PaneSize& visible,
                            const PaneSize& pane, const PanePoint& scroll, const uint8_t* image,
                            const PaneSize& imageSize, const RowRule& rule) {
  // Also without a rule the pixels are copied first: composited from a buffer of its
  // own, which nothing else writes, the loop runs several pixels at once.
  uint8_t piece[kPiece * 4];
  for (int32_t i = 0; i < visible.height; ++i) {
    const uint8_t* row = image + (static_cast<size_t>(scroll.y + i) * static_cast<size_t>(imageSize.width) +
                                  static_cast<size_t>(scroll.x)) * 4;
    for (int32_t j = 0; j < visible.width; j += kPiece) {
      const int32_t count = std::min(kPiece, visible.width - j);
      if (rule) {
        rule(row + static_cast<size_t>(j) * 4, piece, count);
      } else {
        std::memcpy(piece, row + static_cast<size_t>(j) * 4, static_cast<size_t>(count) * 4);
      }
      // The piece as a picture of its own, one row high; the rule keeps each pixel's alpha.
      ComposePreview(buffer, {origin.x + j, origin.y + i}, {count, 1}, pane, {0, 0}, piece, {count, 1},
                     [](Bgr c) { return c; });
    }
  }
}
