// The preview half of FilterDialog: the pane, painting, compositing, panning and zoom.
#include <algorithm>
#include <cstdint>
#include <new>
#include <string>

#include "base/module_handle.h"
#include "base/win32_handles.h"
#include "dialogs/filter_dialog.h"
#include "filters/active_rows.h"
#include "resources/resource.h"

namespace {

void SetPaneCursor(int resourceId) {
  // A missing cursor would hide the pointer; leave the platform's one instead.
  if (HCURSOR cursor = LoadCursorA(ModuleHandle(), MAKEINTRESOURCEA(resourceId))) {
    SetCursor(cursor);
  }
}

// The system's window colour (0x00BBGGRR) in the buffer's order, 0x00RRGGBB.
uint32_t FillColour() {
  const COLORREF c = GetSysColor(COLOR_WINDOW);
  return (uint32_t{GetRValue(c)} << 16) | (uint32_t{GetGValue(c)} << 8) | GetBValue(c);
}

struct ClientSize {
  int32_t width, height;
};

ClientSize PaneClientSize(HWND pane) {
  RECT r{};
  GetClientRect(pane, &r);
  return {std::max<int32_t>(r.right - r.left, 0), std::max<int32_t>(r.bottom - r.top, 0)};
}

}  // namespace

int FilterDialog::InitPreview() {
  HWND pane = GetPane();
  if (!pane) return 1;  // a template without a pane: no preview at all
  const ClientSize client = PaneClientSize(pane);
  preview.paneWidth = client.width;
  preview.paneHeight = client.height;

  preview.previewBuffer.reset();
  const uint64_t count =
      uint64_t{static_cast<uint32_t>(client.width)} * static_cast<uint32_t>(client.height);
  // Past this the byte count wraps, and the array new throws even in its nothrow form.
  if (count > static_cast<uint64_t>(PTRDIFF_MAX) / sizeof(uint32_t)) return 0;
  preview.previewBuffer.reset(new (std::nothrow) uint32_t[static_cast<size_t>(count)]);
  if (!preview.previewBuffer) return 0;  // no preview and no panning; the dialog runs on
  // Taken once: the margins keep this colour for the dialog's life.
  std::fill(preview.previewBuffer.get(), preview.previewBuffer.get() + count, FillColour());

  ZeroMemory(&preview.bitmapInfo, sizeof preview.bitmapInfo);
  BITMAPINFOHEADER& header = preview.bitmapInfo.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = preview.paneWidth;
  header.biHeight = -preview.paneHeight;  // rows top to bottom
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;

  preview.fill = FillColour();
  preview.paintedOrigin = {0, 0};
  preview.paintedSize = {0, 0};
  // Without its working rows the preview stays at 1:1.
  const bool zoomable = preview.zoomScratch.Ready() || preview.zoomScratch.Allocate(preview.paneWidth);
  preview.view.Reset(imageWidth, imageHeight, preview.paneWidth, preview.paneHeight, zoomable);
  wchar_t caption[256] = L"";
  GetWindowTextW(dialogWindow, caption, 256);
  preview.caption = caption;

  // Subclassing twice would make PaneProc call itself as the old procedure. The pane
  // of a wide dialog is a Unicode window, and stays one only under the W functions.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(pane, GWLP_WNDPROC)) != &PaneProc) {
    preview.oldPaneProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(pane, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&PaneProc)));
  }
  return 1;
}

LRESULT CALLBACK FilterDialog::PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  FilterDialog* const d = ActiveDialog;
  if (!d) return DefWindowProcW(pane, message, wParam, lParam);
  if (!d->pendingException) {
    // The coordinates are signed: negative left of or above the pane while captured
    // (and in screen coordinates for the wheel).
    const int x = static_cast<int16_t>(LOWORD(lParam));
    const int y = static_cast<int16_t>(HIWORD(lParam));
    const int keys = static_cast<int>(wParam);
    // As in StaticDialogProc: nothing may unwind through the platform's loop.
    try {
      switch (message) {
        case WM_PAINT: {
          PaintDc dc(pane);
          d->PaintPreview(pane, dc);
          break;
        }
        case WM_PRINTCLIENT:
          // The picture into the caller's DC (a memory DC, say), as painting would
          // show it. The static's own printing would draw its frame over it.
          d->PaintPreview(pane, reinterpret_cast<HDC>(wParam));
          return 0;
        case WM_MOUSEMOVE:
          d->OnMouseMove(pane, x, y, keys);
          break;
        case WM_LBUTTONDOWN:
          d->OnLButtonDown(pane, x, y, keys);
          break;
        case WM_LBUTTONUP:
          d->OnLButtonUp(pane, x, y, keys);
          break;
        case WM_LBUTTONDBLCLK:
          d->OnPaneDoubleClick(pane, x, y);
          break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONUP:
          d->OnPaneRButton(pane, message == WM_RBUTTONDOWN);
          break;
        case WM_CAPTURECHANGED:
          if (reinterpret_cast<HWND>(lParam) != pane) d->OnPaneCaptureLost();
          break;
        case WM_MOUSEWHEEL:
          // Handled here, it must not go on to the dialog as well.
          if (d->OnPaneWheel(pane, GET_WHEEL_DELTA_WPARAM(wParam), POINT{x, y})) return 0;
          break;
        default:
          break;
      }
    } catch (...) {
      d->pendingException = std::current_exception();
      if (GetCapture() == pane) ReleaseCapture();
      EndDialog(d->dialogWindow, kEndedByException);
    }
  }
  // The paint above has validated the pane, so the static draws nothing over it.
  return CallWindowProcW(d->preview.oldPaneProc, pane, message, wParam, lParam);
}

void FilterDialog::PaintPreview(HWND pane, HDC dc) {
  if (!preview.previewBuffer || !pane || !dc) return;
  const ClientSize client = PaneClientSize(pane);
  // The buffer holds paneWidth x paneHeight pixels whatever the pane does later: it is
  // never written past.
  const int32_t width = std::min(client.width, preview.paneWidth);
  const int32_t height = std::min(client.height, preview.paneHeight);
  const PaneView::Layout at = preview.view.Place(width, height);

  const PanePoint origin{at.h.origin, at.v.origin};
  const PaneSize visible{at.h.visible, at.v.visible};
  const PaneSize paneSize{preview.paneWidth, preview.paneHeight};
  const PanePoint scroll{at.h.scroll, at.v.scroll};
  const PaneSize imageSize{imageWidth, imageHeight};
  uint32_t* const buffer = preview.previewBuffer.get();
  if (origin.x != preview.paintedOrigin.x || origin.y != preview.paintedOrigin.y ||
      visible.width != preview.paintedSize.width || visible.height != preview.paintedSize.height) {
    // Another zoom: what the image no longer covers is margin again.
    std::fill(buffer, buffer + size_t(preview.paneWidth) * size_t(preview.paneHeight), preview.fill);
    preview.paintedOrigin = origin;
    preview.paintedSize = visible;
  }
  // The held right button shows the picture unfiltered; the box stays as it is.
  const bool filtered = IsPreviewChecked() && !preview.view.showOriginal;
  if (preview.view.Zoom() == 1) {
    if (filtered) {
      RenderPreview(buffer, &origin, &visible, &paneSize, &scroll, image, &imageSize);
    } else {
      ComposePreview(buffer, origin, visible, paneSize, scroll, image, imageSize, [](Bgr c) { return c; });
    }
  } else {
    ComposeZoomedPreview(buffer, paneSize, origin, visible, scroll, preview.view.Zoom(), image,
                         imageSize, filtered ? PreviewRowRule() : RowRule(),
                         CheckerSumsRowOf(ActiveRowPath()), preview.zoomScratch);
  }
  StretchDIBits(dc, 0, 0, preview.paneWidth, preview.paneHeight, 0, 0, preview.paneWidth,
                preview.paneHeight, buffer, &preview.bitmapInfo, DIB_RGB_COLORS, SRCCOPY);
}

void FilterDialog::RenderPreview(uint32_t*, const PanePoint*, const PaneSize*, const PaneSize*,
                                 const PanePoint*, const uint8_t*, const PaneSize*) {}

RowRule FilterDialog::PreviewRowRule() { return RowRule(); }

void FilterDialog::OnLButtonDown(HWND pane, int x, int y, int) {
  const ClientSize client = PaneClientSize(pane);
  if (!preview.view.CanPan(client.width, client.height)) {
    return;
  }
  preview.view.StartDrag(x, y);
  if (GetCapture() != pane) SetCapture(pane);
  SetPaneCursor(IDCUR_HAND_GRIP);
}

void FilterDialog::OnMouseMove(HWND pane, int x, int y, int) {
  const ClientSize client = PaneClientSize(pane);
  if (preview.view.Dragging() && GetCapture() == pane) {
    if (preview.view.DragTo(x, y, client.width, client.height)) Redraw();
    SetPaneCursor(IDCUR_HAND_GRIP);
    return;
  }
  if (!preview.view.CanPan(client.width, client.height)) {
    return;  // the platform's cursor stays
  }
  SetPaneCursor(IDCUR_HAND_OPEN);
}

void FilterDialog::OnLButtonUp(HWND pane, int, int, int) {
  preview.view.EndDrag();
  // The held right button keeps the capture until it is let go too.
  if (GetCapture() == pane && !preview.view.showOriginal) ReleaseCapture();
}

void FilterDialog::OnPaneRButton(HWND pane, bool down) {
  // Only a filtered preview has an unfiltered one to compare with.
  if (down == preview.view.showOriginal || (down && !IsPreviewChecked())) return;
  preview.view.showOriginal = down;
  if (down) {
    if (GetCapture() != pane) SetCapture(pane);  // so that a release outside the pane is seen
  } else if (GetCapture() == pane && !preview.view.Dragging()) {
    ReleaseCapture();
  }
  Redraw();
}

void FilterDialog::OnPaneCaptureLost() {
  preview.view.EndDrag();
  if (preview.view.showOriginal) {
    preview.view.showOriginal = false;
    Redraw();
  }
}

BOOL FilterDialog::OnDialogWheel(WPARAM wParam, LPARAM lParam) {
  // Older systems send the wheel to the focused control, and an edit box or a button
  // passes it on to the dialog; a focused combo box keeps it for its own list.
  HWND pane = GetPane();
  for (HWND w = GetFocus(); w && w != dialogWindow; w = GetParent(w)) {
    char name[16] = "";
    GetClassNameA(w, name, sizeof name);
    if (lstrcmpiA(name, "ComboBox") == 0) return FALSE;
  }
  const POINT screen{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  return pane && OnPaneWheel(pane, GET_WHEEL_DELTA_WPARAM(wParam), screen) ? TRUE : FALSE;
}

bool FilterDialog::OnPaneWheel(HWND pane, int delta, POINT screen) {
  if (!preview.previewBuffer) return false;
  POINT at = screen;
  ScreenToClient(pane, &at);
  const ClientSize client = PaneClientSize(pane);
  if (at.x < 0 || at.y < 0 || at.x >= client.width || at.y >= client.height) return false;
  if (preview.view.Wheel(delta, at.x, at.y, std::min(client.width, preview.paneWidth),
                         std::min(client.height, preview.paneHeight))) {
    ZoomChanged(pane);
  }
  return true;
}

void FilterDialog::OnPaneDoubleClick(HWND pane, int x, int y) {
  if (!preview.previewBuffer) return;
  const ClientSize client = PaneClientSize(pane);
  if (preview.view.ToggleFit(x, y, std::min(client.width, preview.paneWidth),
                             std::min(client.height, preview.paneHeight))) {
    ZoomChanged(pane);
  }
}

void FilterDialog::ZoomChanged(HWND pane) {
  // A drag ends with the zoom it started at (the view has ended it already).
  if (GetCapture() == pane && !preview.view.showOriginal) ReleaseCapture();
  std::wstring caption = preview.caption;
  if (preview.view.Zoom() != 1) {
    caption += L" (1:";
    for (char digit : std::to_string(preview.view.Zoom())) caption += static_cast<wchar_t>(digit);
    caption += L")";
  }
  SetWindowTextW(dialogWindow, caption.c_str());
  // Painted when the queue is empty: a storm of wheel messages costs one paint.
  InvalidateRect(pane, nullptr, FALSE);
  const ClientSize client = PaneClientSize(pane);
  if (preview.view.CanPan(client.width, client.height)) {
    SetPaneCursor(IDCUR_HAND_OPEN);
  } else {
    // The platform puts its own cursor back.
    SendMessageA(pane, WM_SETCURSOR, reinterpret_cast<WPARAM>(pane), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
  }
}

void FilterDialog::Redraw() {
  HWND pane = GetPane();
  WindowDc dc(pane);
  PaintPreview(pane, dc);
}
