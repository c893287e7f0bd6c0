// The preview at 1:n for n > 1. Each pane pixel is the mean of the n x n image pixels
// it covers (fewer at the right and bottom edges), each first filtered, then
// composited over that pane pixel's board square as BlendOnChecker does (rounding
// down); the mean of those whole numbers is rounded to nearest, halves up. Filtering
// comes first: the rules are not linear, so an average filtered would differ.
// Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <type_traits>

#include "dialogs/checker_sums.h"
#include "dialogs/preview_compose.h"

// A filter's rule for a row of pixels: `count` BGRA pixels from `src` into `dst`, alpha
// kept. It holds a small callable by value, so making one allocates nothing. An empty
// rule leaves the pixels as they are.
class RowRule {
 public:
  RowRule() = default;
  template <class F>
  explicit RowRule(const F& f) {
    static_assert(sizeof(F) <= sizeof storage && alignof(F) <= alignof(Storage) &&
                      std::is_trivially_copyable<F>::value,
                  "a row rule holds a few values, nothing that owns");
    new (storage.bytes) F(f);
    call = [](const Storage& s, const uint8_t* src, uint8_t* dst, int32_t count) {
      (*reinterpret_cast<const F*>(s.bytes))(src, dst, count);
    };
  }
  explicit operator bool() const { return call != nullptr; }
  void operator()(const uint8_t* src, uint8_t* dst, int32_t count) const { call(storage, src, dst, count); }

 private:
  struct Storage {
    alignas(8) unsigned char bytes[16];
  };
  Storage storage{};
  void (*call)(const Storage&, const uint8_t*, uint8_t*, int32_t) = nullptr;
};

// The working rows of a zoomed paint, taken once per dialog, so painting allocates
// nothing.
struct ZoomScratch {
  // Image columns handled at once (wider images go in strips), and rows: the rows'
  // filtered strips stay in the caches while their sums are taken. A strip as wide as
  // most photos lets each row be read in one run, which prefetching follows
  // (filters/read_ahead.h); the filtered rows then take 256 KiB.
  static constexpr int32_t kStrip = 8192;
  static constexpr int32_t kRowsAtOnce = 8;
  // Rows added into 16-bit sums before they are emptied: 256 x 255 < 65536.
  static constexpr int32_t kRowsPerSum = 256;

  // Room for a pane `paneWidth` pixels wide; false when it cannot be had.
  bool Allocate(int32_t paneWidth);
  bool Ready() const { return blocks != nullptr; }

  std::unique_ptr<uint8_t[]> filtered;  // kRowsAtOnce rows of kStrip pixels
  std::unique_ptr<uint8_t[]> board;     // kStrip pixels
  std::unique_ptr<uint16_t[]> columns;  // per image column, as CheckerSumsRow adds them
  std::unique_ptr<uint64_t[]> blocks;   // per pane column, blue, green, red
};

// Like ComposePreview (preview_compose.h) at 1:zoom: fills the `visible` pane pixels
// from `origin`, showing the image from pane offset `scroll` (in blocks), through `rule`
// and `sumsRow`. Writes no other element of `buffer`. `scratch` must be Ready for a
// pane at least `visible.width` wide.
void ComposeZoomedPreview(uint32_t* buffer, const PaneSize& pane, const PanePoint& origin,
                          const PaneSize& visible, const PanePoint& scroll, int32_t zoom,
                          const uint8_t* image, const PaneSize& imageSize, const RowRule& rule,
                          CheckerSumsRow sumsRow, ZoomScratch& scratch);
