// What the preview pane shows and how the mouse moves it: the zoom, the offsets, a
// drag in progress, the wheel's unspent turn and the held right button. The dialog owns
// one; its window glue turns messages into these calls. Platform-free.
#pragma once
#include <cstdint>

#include "dialogs/preview_zoom.h"

class PaneView {
 public:
  // One wheel notch, as the platform counts it.
  static constexpr int32_t kWheelNotch = 120;

  struct Layout {
    AxisLayout h, v;
  };

  PaneView() = default;

  // A new image or pane: 1:1 at the top-left corner. Without `canZoom` 1:1 is the only
  // level.
  void Reset(int32_t imageWidth, int32_t imageHeight, int32_t paneWidth, int32_t paneHeight,
             bool canZoom) {
    *this = PaneView({imageWidth, imageHeight},
                     canZoom ? FitZoom(imageWidth, imageHeight, paneWidth, paneHeight) : 1);
  }
  // Back to 1:1 at the top-left corner, idle, with the same image and levels.
  void Home() { *this = PaneView(image, fit); }

  int32_t Zoom() const { return zoom; }
  int32_t Fit() const { return fit; }
  int32_t ScrollX() const { return scrollX; }
  int32_t ScrollY() const { return scrollY; }

  // The layout in a client area of this size, without moving anything.
  Layout LayoutIn(int32_t clientWidth, int32_t clientHeight) const {
    return {LayoutZoomedAxis(clientWidth, image.width, zoom, scrollX),
            LayoutZoomedAxis(clientHeight, image.height, zoom, scrollY)};
  }
  // The layout a paint uses; along an axis that fits, the offset goes back to 0.
  Layout Place(int32_t clientWidth, int32_t clientHeight) {
    const Layout l = LayoutIn(clientWidth, clientHeight);
    scrollX = l.h.scroll;
    scrollY = l.v.scroll;
    return l;
  }

  // Whether the image at this zoom is larger than the pane along an axis.
  bool CanPan(int32_t clientWidth, int32_t clientHeight) const {
    return ::CanPan(clientWidth, clientHeight, ZoomedLength(image.width, zoom),
                    ZoomedLength(image.height, zoom));
  }

  void StartDrag(int32_t x, int32_t y) {
    dragging = true;
    lastMouseX = x;
    lastMouseY = y;
  }
  void EndDrag() { dragging = false; }
  bool Dragging() const { return dragging; }
  // One drag step (pan_limits.h); true when an offset changed.
  bool DragTo(int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight) {
    const DragAxis dx = DragAxisStep(scrollX, lastMouseX, x, ZoomedLength(image.width, zoom), clientWidth);
    const DragAxis dy = DragAxisStep(scrollY, lastMouseY, y, ZoomedLength(image.height, zoom), clientHeight);
    const bool moved = dx.scroll != scrollX || dy.scroll != scrollY;
    scrollX = dx.scroll;
    lastMouseX = dx.lastMouse;
    scrollY = dy.scroll;
    lastMouseY = dy.lastMouse;
    return moved;
  }

  // A wheel turn over pane position (x, y): each whole notch towards the user is one
  // level out, away from the user one level in, keeping the image point under (x, y)
  // there as far as the pan limits allow. Smaller turns add up; turning back starts
  // afresh. True when the zoom changed.
  bool Wheel(int32_t delta, int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight) {
    if ((delta < 0) != (wheel < 0)) wheel = 0;
    wheel += delta;
    int32_t to = zoom;
    for (; wheel >= kWheelNotch; wheel -= kWheelNotch) to = ZoomIn(to);
    for (; wheel <= -kWheelNotch; wheel += kWheelNotch) to = ZoomOut(to, fit);
    return ZoomAround(to, x, y, x, y, clientWidth, clientHeight);
  }

  // A double-click at (x, y): 1:1 goes to fit; any other level to 1:1 with the clicked
  // image point in the pane's middle. True when the zoom changed.
  bool ToggleFit(int32_t x, int32_t y, int32_t clientWidth, int32_t clientHeight) {
    if (zoom == 1) return ZoomAround(fit, x, y, x, y, clientWidth, clientHeight);
    return ZoomAround(1, x, y, clientWidth / 2, clientHeight / 2, clientWidth, clientHeight);
  }

  // While the right button is held the picture is shown unfiltered.
  void ShowOriginal(bool shown) { showOriginal = shown; }
  bool ShowsOriginal() const { return showOriginal; }

 private:
  struct Size {
    int32_t width, height;
  };

  PaneView(Size image, int32_t fit) : image(image), fit(fit) {}

  // Zooms to `to`, bringing the image point at pane (fromX, fromY) to (toX, toY).
  bool ZoomAround(int32_t to, int32_t fromX, int32_t fromY, int32_t toX, int32_t toY,
                  int32_t clientWidth, int32_t clientHeight) {
    if (to == zoom) return false;
    const Layout was = LayoutIn(clientWidth, clientHeight);
    const int64_t px = ImagePointAt(fromX, was.h, zoom, image.width);
    const int64_t py = ImagePointAt(fromY, was.v, zoom, image.height);
    zoom = to;
    scrollX = ScrollKeeping(px, toX, zoom, image.width, clientWidth);
    scrollY = ScrollKeeping(py, toY, zoom, image.height, clientHeight);
    dragging = false;  // a drag ends with the zoom it started at
    return true;
  }

  Size image{0, 0};
  int32_t fit = 1;
  int32_t zoom = 1;
  int32_t scrollX = 0;
  int32_t scrollY = 0;
  int32_t lastMouseX = 0;
  int32_t lastMouseY = 0;
  int32_t wheel = 0;
  bool dragging = false;
  bool showOriginal = false;
};
