// The preview's zoom: at 1:n each pane pixel stands for a block of n x n image pixels
// (fewer at the right and bottom edges), blocks counted from the image's top-left.
// Offsets along an axis are in pane pixels at the current zoom, which at 1:1 are image
// pixels. Platform-free.
#pragma once
#include <cstdint>

#include "dialogs/pan_limits.h"

// Pane pixels an image length takes at 1:n; a partial block takes a whole one.
inline int32_t ZoomedLength(int32_t imageLength, int32_t zoom) {
  if (imageLength <= 0 || zoom <= 0) return imageLength > 0 ? imageLength : 0;
  return static_cast<int32_t>((int64_t{imageLength} + zoom - 1) / zoom);
}

// The smallest n at which the whole image lies inside the pane: 1 when it fits at 1:1,
// and when there is nothing to show or nowhere to show it.
inline int32_t FitZoom(int32_t imageWidth, int32_t imageHeight, int32_t paneWidth,
                       int32_t paneHeight) {
  const auto along = [](int32_t image, int32_t pane) -> int64_t {
    return image <= 0 || pane <= 0 ? 1 : (int64_t{image} + pane - 1) / pane;
  };
  const int64_t x = along(imageWidth, paneWidth), y = along(imageHeight, paneHeight);
  return static_cast<int32_t>(x > y ? x : y);
}

// The levels 1, 2, 3, 4, 6, 8, then about 1.5 times the last: 12, 18, 27, 40, ...
inline int64_t NextZoomLevel(int64_t n) { return n < 4 ? n + 1 : n < 8 ? n + 2 : n + n / 2; }

// One step out from `zoom`: the next level, or fit when that comes first.
inline int32_t ZoomOut(int32_t zoom, int32_t fit) {
  int64_t n = 1;
  while (n <= zoom && n < fit) n = NextZoomLevel(n);
  return static_cast<int32_t>(n < fit ? n : fit);
}

// One step in: the largest level below `zoom`, or 1.
inline int32_t ZoomIn(int32_t zoom) {
  int64_t below = 1;
  for (int64_t n = 1; n < zoom; n = NextZoomLevel(n)) below = n;
  return static_cast<int32_t>(below);
}

// One axis laid out at 1:zoom: centred where the zoomed image fits, else filling the
// pane from `scroll`, kept within the pan limits (pan_limits.h). At 1:1 this is the
// layout of an unzoomed pane.
inline AxisLayout LayoutZoomedAxis(int32_t client, int32_t imageLength, int32_t zoom,
                                   int32_t scroll) {
  const int32_t zoomed = ZoomedLength(imageLength, zoom);
  return LayoutAxis(client, zoomed, client >= zoomed, scroll);
}

// The image position (in image pixels) shown at pane position `at`: the middle of its
// block, kept inside the image.
inline int64_t ImagePointAt(int32_t at, const AxisLayout& layout, int32_t zoom,
                            int32_t imageLength) {
  int64_t p = (int64_t{layout.scroll} + at - layout.origin) * zoom + zoom / 2;
  if (p > int64_t{imageLength} - 1) p = int64_t{imageLength} - 1;
  return p < 0 ? 0 : p;
}

// The offset at 1:zoom that brings image position `point` under pane position `at`, as
// far as the pan limits allow.
inline int32_t ScrollKeeping(int64_t point, int32_t at, int32_t zoom, int32_t imageLength,
                             int32_t client) {
  int64_t s = point / (zoom > 0 ? zoom : 1) - at;
  if (s > INT32_MAX) s = INT32_MAX;
  if (s < INT32_MIN) s = INT32_MIN;
  return LayoutZoomedAxis(client, imageLength, zoom, static_cast<int32_t>(s)).scroll;
}
