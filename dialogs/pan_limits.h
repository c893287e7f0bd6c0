// Where the image lies in the preview pane and how a drag moves it, one axis at a
// time. Platform-free.
#pragma once
#include <cstdint>

// One axis of a paint: the pane position of the first visible image pixel, how many
// are visible, and the image position they start at.
struct AxisLayout {
  int32_t origin, visible, scroll;
};

// An image that fits is centred (rounded down) and its offset reset to 0; a larger one
// fills the pane from its edge at the current offset. The offset is kept inside the
// image and the visible run inside the pane, even if the pane and the image disagree
// with `fits` (it was decided at initialisation), so no read or write can stray.
inline AxisLayout LayoutAxis(int32_t client, int32_t imageLength, bool fits, int32_t scroll) {
  if (client <= 0 || imageLength <= 0) return {0, 0, 0};
  if (fits && imageLength <= client) return {(client - imageLength) / 2, imageLength, 0};
  const int32_t visible = imageLength < client ? imageLength : client;
  const int32_t maxScroll = imageLength - visible;
  if (scroll > maxScroll) scroll = maxScroll;
  if (scroll < 0) scroll = 0;
  return {0, visible, scroll};
}

struct DragAxis {
  int32_t scroll, lastMouse;
};

// One drag step: the image follows the hand. The upper bound is tested first, so on
// an axis where the image fits the offset goes negative (the next paint resets it).
// The mouse position is kept unclamped, so moving back after passing an edge scrolls
// back at once.
inline DragAxis DragAxisStep(int32_t scroll, int32_t lastMouse, int32_t mouse,
                             int32_t imageLength, int32_t client) {
  int64_t s = int64_t{scroll} + lastMouse - mouse;
  if (int64_t{imageLength} - s < client) {
    s = int64_t{imageLength} - client;
  } else if (s < 0) {
    s = 0;
  }
  // Only reachable with absurd sizes; keeps the stored offset a valid int32.
  if (s > INT32_MAX) s = INT32_MAX;
  if (s < INT32_MIN) s = INT32_MIN;
  return {static_cast<int32_t>(s), mouse};
}

// Whether the image is larger than the pane along at least one axis.
inline bool CanPan(int32_t clientWidth, int32_t clientHeight, int32_t imageWidth,
                   int32_t imageHeight) {
  return !(clientWidth >= imageWidth && clientHeight >= imageHeight);
}
