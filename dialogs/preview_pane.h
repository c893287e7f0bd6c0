// The preview pane: the host's image over the checkerboard at the pane's zoom, filtered
// while the dialog's preview box is checked, and the mouse and wheel that move it. It
// owns the picture's buffer, the view, the zoomed paint's working rows, the pane's
// subclassed window procedure and the zoom shown in the dialog's caption. It is handed
// the image and the preview box; the filter's rule for a row of pixels comes through
// PaneRule.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "dialogs/pane_view.h"
#include "dialogs/preview_compose.h"
#include "dialogs/zoomed_preview.h"

class CarriedException;

// A paint at 1:1: the buffer, the visible area's place in it and in the image, and the
// image.
struct PaneFrame {
  uint32_t* buffer;
  PanePoint origin;
  PaneSize visible;
  PaneSize pane;  // the buffer's size; its width is the row length
  PanePoint scroll;
  const uint8_t* image;
  PaneSize imageSize;  // its width is the row length
};

class PreviewPane {
 public:
  // Exceptions raised in the pane's procedure end the dialog through `failure`, which
  // the dialog's own procedure shares.
  explicit PreviewPane(CarriedException& failure) : failure(failure) {}
  virtual ~PreviewPane() = default;
  PreviewPane(const PreviewPane&) = delete;
  PreviewPane& operator=(const PreviewPane&) = delete;

  // Takes over `pane`, a static control of the dialog whose caption shows the zoom, to
  // show `image` (borrowed, read-only; `imageSize.width` pixels a row), filtered while
  // `previewBox` is checked. False when the picture's buffer cannot be had: nothing is
  // painted or panned then, and a pane not taken over before stays the plain static.
  bool Attach(HWND pane, HWND previewBox, const uint8_t* image, const PaneSize& imageSize);
  // Back to 1:1 at the top-left corner.
  void Home() { view.Home(); }

  // Draws the whole pane into `dc`.
  void Paint(HWND pane, HDC dc);
  // The left button and the mouse's moves: a drag pans the picture.
  void OnLButtonDown(HWND pane, int x, int y);
  void OnLButtonUp(HWND pane);
  void OnMouseMove(HWND pane, int x, int y);
  // A wheel turn with the mouse at `screen`; false when that is not over the pane, whose
  // turn it then is not.
  bool OnWheel(HWND pane, int delta, POINT screen);
  // Repaints at once, through PaintPane, without waiting for a paint message.
  void Redraw(HWND pane);

  // The procedure the pane is subclassed with; it finds its PreviewPane in the window's
  // user data.
  static LRESULT CALLBACK WindowProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  // The steps of a paint and of the left button. By themselves they paint, pan and show
  // the picture as it is; an owner that routes them through operations of its own
  // overrides them, and those come back to Paint and the On... operations above.
  // WM_PAINT, WM_PRINTCLIENT and every redraw.
  virtual void PaintPane(HWND pane, HDC dc);
  // WM_MOUSEMOVE, WM_LBUTTONDOWN or WM_LBUTTONUP at pane position (x, y).
  virtual void PaneMouse(HWND pane, UINT message, int x, int y, int keys);
  // The filtered picture of the frame's visible area at 1:1, through PaneRule.
  virtual void RenderPane(const PaneFrame& frame);
  // The filter as a rule for a row of pixels; none by itself.
  virtual RowRule PaneRule();

 private:
  // Handles one message; true when the old procedure must not see it.
  bool OnMessage(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);
  bool PreviewBoxChecked() const;
  void OnDoubleClick(HWND pane, int x, int y);
  void OnRButton(HWND pane, bool down);
  void OnCaptureLost(HWND pane);
  void ZoomChanged(HWND pane);

  CarriedException& failure;
  HWND dialog = nullptr;
  HWND previewBox = nullptr;
  const uint8_t* image = nullptr;
  PaneSize imageSize{0, 0};
  // The picture and the header it is drawn with, at the pane's size when it was
  // attached.
  std::unique_ptr<uint32_t[]> buffer;
  BITMAPINFO bitmapInfo{};
  PaneSize paneSize{0, 0};
  PaneView view;
  ZoomScratch zoomScratch;
  // The window colour, taken once, and the area the last paint covered: a paint that
  // covers another area gives the rest back to the window colour first.
  uint32_t fill = 0;
  PanePoint paintedOrigin{0, 0};
  PaneSize paintedSize{0, 0};
  // The dialog's caption as the template has it, shown at 1:1.
  std::wstring caption;
  WNDPROC oldProc = nullptr;
};
