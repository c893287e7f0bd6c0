// The preview's compositing loop at 1:1, which every 1:1 paint runs through
// (filtered_preview.h). Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>

#include "dialogs/checker_blend.h"
#include "filters/pixel_rules.h"

struct PanePoint {
  int32_t x, y;
};
struct PaneSize {
  int32_t width, height;
};

// For each visible pixel: take the image pixel at scroll + (j, i), map its colour with
// `rule` (Bgr -> Bgr), and store it over the board at pane position origin + (j, i).
// Writes no other element of `buffer`, whose rows are pane.width long.
template <class Rule>
void ComposePreview(uint32_t* buffer, const PanePoint& origin, const PaneSize& visible,
                    const PaneSize& pane, const PanePoint& scroll, const uint8_t* image,
                    const PaneSize& imageSize, Rule rule) {
  for (int32_t i = 0; i < visible.height; ++i) {
    const uint8_t* src = image + (static_cast<size_t>(scroll.y + i) * static_cast<size_t>(imageSize.width) +
                                  static_cast<size_t>(scroll.x)) * 4;
    uint32_t* dst = buffer + static_cast<size_t>(origin.y + i) * static_cast<size_t>(pane.width) +
                    static_cast<size_t>(origin.x);
    for (int32_t j = 0; j < visible.width; ++j, src += 4) {
      const Bgr c = rule(Bgr{src[0], src[1], src[2]});
      const uint8_t colour[3] = {c.b, c.g, c.r};
      dst[j] = BlendOnChecker(origin.x + j, origin.y + i, colour, src[3]);
    }
  }
}
