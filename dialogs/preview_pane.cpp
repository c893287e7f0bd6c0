#include "dialogs/preview_pane.h"

#include <algorithm>
#include <new>

#include "base/module_handle.h"
#include "base/win32_handles.h"
#include "dialogs/carried_exception.h"
#include "dialogs/filtered_preview.h"
#include "filters/active_rows.h"
#include "resources/resource.h"

namespace {

void SetPaneCursor(int resourceId) {
  // A missing cursor would hide the pointer; leave the platform's one instead.
  if (HCURSOR cursor = LoadCursorW(ModuleHandle(), MAKEINTRESOURCEW(resourceId))) {
    SetCursor(cursor);
  }
}

// The system's window colour (0x00BBGGRR) in the buffer's order, 0x00RRGGBB.
uint32_t FillColour() {
  const COLORREF c = GetSysColor(COLOR_WINDOW);
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

PaneSize PaneClientSize(HWND pane) {
  RECT r{};
  GetClientRect(pane, &r);
  return {std::max<int32_t>(r.right - r.left, 0), std::max<int32_t>(r.bottom - r.top, 0)};
}

}  // namespace

bool PreviewPane::Attach(HWND pane, HWND box, const uint8_t* shown, const PaneSize& shownSize) {
  dialog = GetParent(pane);
  previewBox = box;
  image = shown;
  imageSize = shownSize;
  paneSize = PaneClientSize(pane);

  buffer.reset();
  const uint64_t count =
      uint64_t{static_cast<uint32_t>(paneSize.width)} * static_cast<uint32_t>(paneSize.height);
  // Past this the byte count wraps, and the array new throws even in its nothrow form.
  if (count > static_cast<uint64_t>(PTRDIFF_MAX) / sizeof(uint32_t)) return false;
  buffer.reset(new (std::nothrow) uint32_t[static_cast<size_t>(count)]);
  if (!buffer) return false;  // no preview and no panning; the dialog runs on
  // Taken once: the margins keep this colour for the dialog's life.
  fill = FillColour();
  std::fill(buffer.get(), buffer.get() + count, fill);

  ZeroMemory(&bitmapInfo, sizeof bitmapInfo);
  BITMAPINFOHEADER& header = bitmapInfo.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = paneSize.width;
  header.biHeight = -paneSize.height;  // rows top to bottom
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;

  paintedOrigin = {0, 0};
  paintedSize = {0, 0};
  // Without its working rows the preview stays at 1:1.
  const bool zoomable = zoomScratch.Ready() || zoomScratch.Allocate(paneSize.width);
  view.Reset(imageSize.width, imageSize.height, paneSize.width, paneSize.height, zoomable);
  wchar_t text[256] = L"";
  GetWindowTextW(dialog, text, 256);
  caption = text;

  // The static control leaves its user data to whoever created it: here, the dialog.
  SetWindowLongPtrW(pane, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  // Subclassing twice would make WindowProc call itself as the old procedure. The pane
  // of a wide dialog is a Unicode window, and stays one only under the W functions.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(pane, GWLP_WNDPROC)) != &WindowProc) {
    oldProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc)));
  }
  return true;
}

LRESULT CALLBACK PreviewPane::WindowProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  PreviewPane* const p = reinterpret_cast<PreviewPane*>(GetWindowLongPtrW(pane, GWLP_USERDATA));
  if (!p) return DefWindowProcW(pane, message, wParam, lParam);
  if (!p->failure.Pending()) {
    // As in the dialog's procedure: nothing may unwind through the platform's loop.
    try {
      if (p->OnMessage(pane, message, wParam, lParam)) return 0;
    } catch (...) {
      p->failure.KeepAndEnd(p->dialog);
      if (GetCapture() == pane) ReleaseCapture();
    }
  }
  // The paint has validated the pane, so the static draws nothing over it.
  return CallWindowProcW(p->oldProc, pane, message, wParam, lParam);
}

bool PreviewPane::OnMessage(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  // The coordinates are signed: negative left of or above the pane while captured (and
  // in screen coordinates for the wheel).
  const int x = static_cast<int16_t>(LOWORD(lParam));
  const int y = static_cast<int16_t>(HIWORD(lParam));
  switch (message) {
    case WM_PAINT: {
      PaintDc dc(pane);
      PaintPane(pane, dc);
      return false;
    }
    case WM_PRINTCLIENT:
      // The picture into the caller's DC (a memory DC, say), as painting would show it.
      // The static's own printing would draw its frame over it.
      PaintPane(pane, reinterpret_cast<HDC>(wParam));
      return true;
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
      PaneMouse(pane, message, x, y, static_cast<int>(wParam));
      return false;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(pane, x, y);
      return false;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      OnRButton(pane, message == WM_RBUTTONDOWN);
      return false;
    case WM_CAPTURECHANGED:
      if (reinterpret_cast<HWND>(lParam) != pane) OnCaptureLost(pane);
      return false;
    case WM_MOUSEWHEEL:
      // Handled here, it must not go on to the dialog as well.
      return OnWheel(pane, GET_WHEEL_DELTA_WPARAM(wParam), POINT{x, y});
    default:
      return false;
  }
}

bool PreviewPane::PreviewBoxChecked() const {
  return previewBox && SendMessageW(previewBox, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void PreviewPane::Paint(HWND pane, HDC dc) {
  if (!buffer || !pane || !dc) return;
  const PaneSize client = PaneClientSize(pane);
  // The buffer holds the pane's pixels at attaching, whatever the pane does later: it is
  // never written past.
  const PaneView::Layout at =
      view.Place(std::min(client.width, paneSize.width), std::min(client.height, paneSize.height));
  const PaneFrame frame{buffer.get(), {at.h.origin, at.v.origin}, {at.h.visible, at.v.visible},
                        paneSize, {at.h.scroll, at.v.scroll}, image, imageSize};
  if (frame.origin.x != paintedOrigin.x || frame.origin.y != paintedOrigin.y ||
      frame.visible.width != paintedSize.width || frame.visible.height != paintedSize.height) {
    // Another zoom: what the image no longer covers is margin again.
    std::fill(buffer.get(), buffer.get() + size_t(paneSize.width) * size_t(paneSize.height), fill);
    paintedOrigin = frame.origin;
    paintedSize = frame.visible;
  }
  // The held right button shows the picture unfiltered; the box stays as it is.
  const bool filtered = PreviewBoxChecked() && !view.ShowsOriginal();
  if (view.Zoom() == 1) {
    if (filtered) {
      RenderPane(frame);
    } else {
      ComposeFilteredPreview(frame.buffer, frame.origin, frame.visible, paneSize, frame.scroll, image,
                             imageSize, RowRule());
    }
  } else {
    ComposeZoomedPreview(frame.buffer, paneSize, frame.origin, frame.visible, frame.scroll, view.Zoom(),
                         image, imageSize, filtered ? PaneRule() : RowRule(),
                         CheckerSumsRowOf(ActiveRowPath()), zoomScratch);
  }
  StretchDIBits(dc, 0, 0, paneSize.width, paneSize.height, 0, 0, paneSize.width, paneSize.height,
                buffer.get(), &bitmapInfo, DIB_RGB_COLORS, SRCCOPY);
}

void PreviewPane::PaintPane(HWND pane, HDC dc) { Paint(pane, dc); }

void PreviewPane::PaneMouse(HWND pane, UINT message, int x, int y, int) {
  switch (message) {
    case WM_MOUSEMOVE: OnMouseMove(pane, x, y); break;
    case WM_LBUTTONDOWN: OnLButtonDown(pane, x, y); break;
    case WM_LBUTTONUP: OnLButtonUp(pane); break;
    default: break;
  }
}

void PreviewPane::RenderPane(const PaneFrame& f) {
  ComposeFilteredPreview(f.buffer, f.origin, f.visible, f.pane, f.scroll, f.image, f.imageSize, PaneRule());
}

RowRule PreviewPane::PaneRule() { return RowRule(); }

void PreviewPane::Redraw(HWND pane) {
  if (!pane) return;
  WindowDc dc(pane);
  PaintPane(pane, dc);
}

void PreviewPane::OnLButtonDown(HWND pane, int x, int y) {
  const PaneSize client = PaneClientSize(pane);
  if (!view.CanPan(client.width, client.height)) return;
  view.StartDrag(x, y);
  if (GetCapture() != pane) SetCapture(pane);
  SetPaneCursor(IDCUR_HAND_GRIP);
}

void PreviewPane::OnMouseMove(HWND pane, int x, int y) {
  const PaneSize client = PaneClientSize(pane);
  if (view.Dragging() && GetCapture() == pane) {
    if (view.DragTo(x, y, client.width, client.height)) Redraw(pane);
    SetPaneCursor(IDCUR_HAND_GRIP);
    return;
  }
  if (!view.CanPan(client.width, client.height)) return;  // the platform's cursor stays
  SetPaneCursor(IDCUR_HAND_OPEN);
}

void PreviewPane::OnLButtonUp(HWND pane) {
  view.EndDrag();
  // The held right button keeps the capture until it is let go too.
  if (GetCapture() == pane && !view.ShowsOriginal()) ReleaseCapture();
}

void PreviewPane::OnRButton(HWND pane, bool down) {
  // Only a filtered preview has an unfiltered one to compare with.
  if (down == view.ShowsOriginal() || (down && !PreviewBoxChecked())) return;
  view.ShowOriginal(down);
  if (down) {
    if (GetCapture() != pane) SetCapture(pane);  // so that a release outside the pane is seen
  } else if (GetCapture() == pane && !view.Dragging()) {
    ReleaseCapture();
  }
  Redraw(pane);
}

void PreviewPane::OnCaptureLost(HWND pane) {
  view.EndDrag();
  if (view.ShowsOriginal()) {
    view.ShowOriginal(false);
    Redraw(pane);
  }
}

bool PreviewPane::OnWheel(HWND pane, int delta, POINT screen) {
  if (!buffer) return false;
  POINT at = screen;
  ScreenToClient(pane, &at);
  const PaneSize client = PaneClientSize(pane);
  if (at.x < 0 || at.y < 0 || at.x >= client.width || at.y >= client.height) return false;
  if (view.Wheel(delta, at.x, at.y, std::min(client.width, paneSize.width),
                 std::min(client.height, paneSize.height))) {
    ZoomChanged(pane);
  }
  return true;
}

void PreviewPane::OnDoubleClick(HWND pane, int x, int y) {
  if (!buffer) return;
  const PaneSize client = PaneClientSize(pane);
  if (view.ToggleFit(x, y, std::min(client.width, paneSize.width), std::min(client.height, paneSize.height))) {
    ZoomChanged(pane);
  }
}

void PreviewPane::ZoomChanged(HWND pane) {
  // A drag ends with the zoom it started at (the view has ended it already).
  if (GetCapture() == pane && !view.ShowsOriginal()) ReleaseCapture();
  std::wstring text = caption;
  if (view.Zoom() != 1) {
    text += L" (1:";
    for (char digit : std::to_string(view.Zoom())) text += static_cast<wchar_t>(digit);
    text += L")";
  }
  SetWindowTextW(dialog, text.c_str());
  // Painted when the queue is empty: a storm of wheel messages costs one paint.
  InvalidateRect(pane, nullptr, FALSE);
  const PaneSize client = PaneClientSize(pane);
  if (view.CanPan(client.width, client.height)) {
    SetPaneCursor(IDCUR_HAND_OPEN);
  } else {
    // The platform puts its own cursor back.
    SendMessageW(pane, WM_SETCURSOR, reinterpret_cast<WPARAM>(pane), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}
