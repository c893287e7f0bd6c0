// Compositing the preview over the checkerboard. Platform-free.
#pragma once
#include <cstdint>

#include "filters/pixel_rules.h"

// Squares of 8 x 8 pane pixels anchored at the pane's top-left; the square holding
// (0, 0) is white (255), its neighbours light grey (192).
inline uint32_t CheckerLevel(int32_t x, int32_t y) { return ((x ^ y) & 8) ? 192u : 255u; }

// One colour byte `value` over the board's `level` by `alpha` (0..255), rounded down:
// the composite every preview path gives.
inline uint32_t OverBoard(uint32_t level, uint32_t value, uint32_t alpha) {
  return (level * (255u - alpha) + value * alpha) / 255u;
}

// One pane pixel, 0x00RRGGBB: the colour over the board by `alpha` (0..255).
inline uint32_t BlendOnChecker(int32_t x, int32_t y, const uint8_t* pixel, uint32_t alpha) {
  const uint32_t b = CheckerLevel(x, y);
  return (OverBoard(b, pixel[2], alpha) << 16) | (OverBoard(b, pixel[1], alpha) << 8) |
         OverBoard(b, pixel[0], alpha);
}
