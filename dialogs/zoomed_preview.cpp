#include "dialogs/zoomed_preview.h"

#include <algorithm>

#include "dialogs/checker_blend.h"

bool ZoomScratch::Allocate(int32_t paneWidth) {
  const size_t width = static_cast<size_t>(std::max<int32_t>(paneWidth, 1));
  filtered.reset(new (std::nothrow) uint8_t[size_t{kStrip} * kRowsAtOnce * 4]);
  board.reset(new (std::nothrow) uint8_t[size_t{kStrip} * 4]);
  columns.reset(new (std::nothrow) uint16_t[size_t{kStrip} * 4]);
  blocks.reset(filtered && board && columns ? new (std::nothrow) uint64_t[width * 3] : nullptr);
  return Ready();
}

namespace {

// Calls visit(block, first, end) for each piece of image columns [first, end) that lies
// in one block, `block` counted from the block at `left`.
template <class Visit>
void ForEachBlockPiece(int64_t first, int64_t end, int64_t left, int64_t zoom, Visit visit) {
  int64_t block = (first - left) / zoom;
  for (int64_t x = first; x < end; ++block) {
    const int64_t pieceEnd = std::min(left + (block + 1) * zoom, end);
    visit(block, x, pieceEnd);
    x = pieceEnd;
  }
}

}  // namespace

void ComposeZoomedPreview(uint32_t* buffer, const PaneSize& pane, const PanePoint& origin,
                          const PaneSize& visible, const PanePoint& scroll, int32_t zoom,
                          const uint8_t* image, const PaneSize& imageSize, const RowRule& rule,
                          CheckerSumsRow sumsRow, ZoomScratch& scratch) {
  const int64_t n = zoom;
  const int64_t width = imageSize.width, height = imageSize.height;
  const int64_t left = int64_t{scroll.x} * n;
  const int64_t right = std::min((int64_t{scroll.x} + visible.width) * n, width);
  uint64_t* const blocks = scratch.blocks.get();
  for (int32_t i = 0; i < visible.height; ++i) {
    const int32_t paneY = origin.y + i;
    const int64_t top = (int64_t{scroll.y} + i) * n;
    const int64_t bottom = std::min(top + n, height);
    std::fill(blocks, blocks + size_t(visible.width) * 3, uint64_t{0});
    for (int64_t strip = left; strip < right; strip += ZoomScratch::kStrip) {
      const int64_t stripEnd = std::min<int64_t>(strip + ZoomScratch::kStrip, right);
      const int32_t count = static_cast<int32_t>(stripEnd - strip);
      // The board under each column: its block's pane pixel's square.
      ForEachBlockPiece(strip, stripEnd, left, n, [&](int64_t block, int64_t x, int64_t end) {
        const uint8_t level = static_cast<uint8_t>(CheckerLevel(origin.x + int32_t(block), paneY));
        std::fill(scratch.board.get() + (x - strip) * 4, scratch.board.get() + (end - strip) * 4, level);
      });
      for (int64_t y = top; y < bottom; y += ZoomScratch::kRowsPerSum) {
        const int64_t yEnd = std::min<int64_t>(y + ZoomScratch::kRowsPerSum, bottom);
        uint16_t* const columns = scratch.columns.get();
        std::fill(columns, columns + size_t(count) * 4, uint16_t{0});
        for (int64_t row = y; row < yEnd; row += ZoomScratch::kRowsAtOnce) {
          const uint8_t* rows[ZoomScratch::kRowsAtOnce];
          const int32_t rowCount = static_cast<int32_t>(std::min<int64_t>(ZoomScratch::kRowsAtOnce, yEnd - row));
          for (int32_t r = 0; r < rowCount; ++r) {
            rows[r] = image + (size_t(row + r) * size_t(width) + size_t(strip)) * 4;
            if (rule) {
              uint8_t* filtered = scratch.filtered.get() + size_t(r) * ZoomScratch::kStrip * 4;
              rule(rows[r], filtered, count);
              rows[r] = filtered;
            }
          }
          sumsRow(rows, rowCount, scratch.board.get(), columns, count);
        }
        ForEachBlockPiece(strip, stripEnd, left, n, [&](int64_t block, int64_t x, int64_t end) {
          uint64_t* sum = blocks + block * 3;
          for (const uint16_t* c = columns + (x - strip) * 4; c < columns + (end - strip) * 4; c += 4) {
            sum[0] += c[0];
            sum[1] += c[1];
            sum[2] += c[2];
          }
        });
      }
    }
    uint32_t* dst = buffer + size_t(paneY) * size_t(pane.width) + size_t(origin.x);
    for (int32_t j = 0; j < visible.width; ++j) {
      const int64_t blockLeft = left + j * n;
      const uint64_t pixels = uint64_t(std::min(n, width - blockLeft) * (bottom - top));
      const uint64_t* sum = blocks + size_t(j) * 3;
      const auto mean = [pixels](uint64_t s) { return uint32_t((s + pixels / 2) / pixels); };
      dst[j] = (mean(sum[2]) << 16) | (mean(sum[1]) << 8) | mean(sum[0]);
    }
  }
}
