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

// What one pane row shows: image rows [top, bottom) and columns [left, right), in blocks
// of `zoom` columns, the first block at pane pixel (paneX, paneY).
struct BlockRow {
  int64_t zoom, left, right, top, bottom;
  int32_t paneX, paneY;
};

// Calls visit(block, first, end) for each piece of image columns [first, end) that lies
// in one block, `block` counted from the row's first.
template <class Visit>
void ForEachBlockPiece(const BlockRow& row, int64_t first, int64_t end, Visit visit) {
  int64_t block = (first - row.left) / row.zoom;
  for (int64_t x = first; x < end; ++block) {
    const int64_t pieceEnd = std::min(row.left + (block + 1) * row.zoom, end);
    visit(block, x, pieceEnd);
    x = pieceEnd;
  }
}

// The picture and how its pixels are taken: through `rule`, then summed by `sumsRow`.
struct Source {
  const uint8_t* image;
  int64_t width;
  const RowRule& rule;
  CheckerSumsRow sumsRow;
};

// Empties the scratch's column sums, then adds into them image rows [top, end) of the
// `count` columns from `strip`, each pixel filtered and over the scratch's board.
void SumColumns(const Source& source, int64_t strip, int32_t count, int64_t top, int64_t end,
                ZoomScratch& scratch) {
  uint16_t* const columns = scratch.columns.get();
  std::fill(columns, columns + size_t(count) * 4, uint16_t{0});
  for (int64_t first = top; first < end; first += ZoomScratch::kRowsAtOnce) {
    const uint8_t* rows[ZoomScratch::kRowsAtOnce];
    const int32_t rowCount = static_cast<int32_t>(std::min<int64_t>(ZoomScratch::kRowsAtOnce, end - first));
    for (int32_t r = 0; r < rowCount; ++r) {
      rows[r] = source.image + (size_t(first + r) * size_t(source.width) + size_t(strip)) * 4;
      if (source.rule) {
        uint8_t* filtered = scratch.filtered.get() + size_t(r) * ZoomScratch::kStrip * 4;
        source.rule(rows[r], filtered, count);
        rows[r] = filtered;
      }
    }
    source.sumsRow(rows, rowCount, scratch.board.get(), columns, count);
  }
}

// Adds the `count` image columns of `row` from `strip` into the scratch's block sums.
void SumStrip(const BlockRow& row, int64_t strip, int32_t count, const Source& source,
              ZoomScratch& scratch) {
  const int64_t stripEnd = strip + count;
  uint8_t* const board = scratch.board.get();
  const uint16_t* const columns = scratch.columns.get();
  // The board under each column: its block's pane pixel's square.
  ForEachBlockPiece(row, strip, stripEnd, [&](int64_t block, int64_t x, int64_t end) {
    const uint8_t level = static_cast<uint8_t>(CheckerLevel(row.paneX + int32_t(block), row.paneY));
    std::fill(board + (x - strip) * 4, board + (end - strip) * 4, level);
  });
  for (int64_t y = row.top; y < row.bottom; y += ZoomScratch::kRowsPerSum) {
    const int64_t end = std::min<int64_t>(y + ZoomScratch::kRowsPerSum, row.bottom);
    SumColumns(source, strip, count, y, end, scratch);
    ForEachBlockPiece(row, strip, stripEnd, [&](int64_t block, int64_t x, int64_t end) {
      uint64_t* sum = scratch.blocks.get() + block * 3;
      for (const uint16_t* c = columns + (x - strip) * 4; c < columns + (end - strip) * 4; c += 4) {
        sum[0] += c[0];
        sum[1] += c[1];
        sum[2] += c[2];
      }
    });
  }
}

// Each of the row's `blocks` pane pixels into `dst`: the mean of its sums over the
// pixels it covers, rounded to nearest, halves up.
void WriteMeans(const BlockRow& row, int32_t blocks, int64_t width, const uint64_t* sums, uint32_t* dst) {
  for (int32_t j = 0; j < blocks; ++j, sums += 3) {
    const int64_t blockLeft = row.left + j * row.zoom;
    const uint64_t pixels = uint64_t(std::min(row.zoom, width - blockLeft) * (row.bottom - row.top));
    const auto mean = [pixels](uint64_t s) { return uint32_t((s + pixels / 2) / pixels); };
    dst[j] = (mean(sums[2]) << 16) | (mean(sums[1]) << 8) | mean(sums[0]);
  }
}

}  // namespace

void ComposeZoomedPreview(uint32_t* buffer, const PaneSize& pane, const PanePoint& origin,
                          const PaneSize& visible, const PanePoint& scroll, int32_t zoom,
                          const uint8_t* image, const PaneSize& imageSize, const RowRule& rule,
                          CheckerSumsRow sumsRow, ZoomScratch& scratch) {
  const int64_t n = zoom, width = imageSize.width;
  const Source source{image, width, rule, sumsRow};
  // Its rows and pane row are set per pane row.
  BlockRow row{n, int64_t{scroll.x} * n, std::min((int64_t{scroll.x} + visible.width) * n, width),
               0, 0, origin.x, 0};
  for (int32_t i = 0; i < visible.height; ++i) {
    row.paneY = origin.y + i;
    row.top = (int64_t{scroll.y} + i) * n;
    row.bottom = std::min<int64_t>(row.top + n, imageSize.height);
    std::fill(scratch.blocks.get(), scratch.blocks.get() + size_t(visible.width) * 3, uint64_t{0});
    for (int64_t strip = row.left; strip < row.right; strip += ZoomScratch::kStrip) {
      const int32_t count = static_cast<int32_t>(std::min<int64_t>(ZoomScratch::kStrip, row.right - strip));
      SumStrip(row, strip, count, source, scratch);
    }
    WriteMeans(row, visible.width, width, scratch.blocks.get(),
               buffer + size_t(row.paneY) * size_t(pane.width) + size_t(origin.x));
  }
}
