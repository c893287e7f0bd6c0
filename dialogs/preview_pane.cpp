// The preview half of FilterDialog: the pane, painting, compositing and panning.
#include <algorithm>
#include <cstdint>
#include <new>

#include "base/module_handle.h"
#include "base/win32_handles.h"
#include "dialogs/filter_dialog.h"
#include "dialogs/pan_limits.h"
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

  preview.fitsX = preview.paneWidth >= imageWidth;
  preview.fitsY = preview.paneHeight >= imageHeight;

  // Subclassing twice would make PaneProc call itself as the old procedure.
  if (reinterpret_cast<WNDPROC>(GetWindowLongPtrA(pane, GWLP_WNDPROC)) != &PaneProc) {
    preview.oldPaneProc = reinterpret_cast<WNDPROC>(
        SetWindowLongA(pane, GWL_WNDPROC, reinterpret_cast<LONG_PTR>(&PaneProc)));
  }
  return 1;
}

LRESULT CALLBACK FilterDialog::PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam) {
  FilterDialog* const d = ActiveDialog;
  if (!d) return DefWindowProcA(pane, message, wParam, lParam);
  if (!d->pendingException) {
    // The coordinates are signed: negative left of or above the pane while captured.
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
  return CallWindowProcA(d->preview.oldPaneProc, pane, message, wParam, lParam);
}

void FilterDialog::PaintPreview(HWND pane, HDC dc) {
  if (!preview.previewBuffer || !pane || !dc) return;
  const ClientSize client = PaneClientSize(pane);
  // The buffer holds paneWidth x paneHeight pixels whatever the pane does later: it is
  // never written past.
  const int32_t width = std::min(client.width, preview.paneWidth);
  const int32_t height = std::min(client.height, preview.paneHeight);
  const AxisLayout h = LayoutAxis(width, imageWidth, preview.fitsX, preview.scrollX);
  const AxisLayout v = LayoutAxis(height, imageHeight, preview.fitsY, preview.scrollY);
  preview.scrollX = h.scroll;
  preview.scrollY = v.scroll;

  const PanePoint origin{h.origin, v.origin};
  const PaneSize visible{h.visible, v.visible};
  const PaneSize paneSize{preview.paneWidth, preview.paneHeight};
  const PanePoint scroll{preview.scrollX, preview.scrollY};
  const PaneSize imageSize{imageWidth, imageHeight};
  if (IsPreviewChecked()) {
    RenderPreview(preview.previewBuffer.get(), &origin, &visible, &paneSize, &scroll, image,
                  &imageSize);
  } else {
    ComposePreview(preview.previewBuffer.get(), origin, visible, paneSize, scroll, image, imageSize,
                   [](Bgr c) { return c; });
  }
  StretchDIBits(dc, 0, 0, preview.paneWidth, preview.paneHeight, 0, 0, preview.paneWidth,
                preview.paneHeight, preview.previewBuffer.get(), &preview.bitmapInfo,
                DIB_RGB_COLORS, SRCCOPY);
}

void FilterDialog::RenderPreview(uint32_t*, const PanePoint*, const PaneSize*, const PaneSize*,
                                 const PanePoint*, const uint8_t*, const PaneSize*) {}

void FilterDialog::OnLButtonDown(HWND pane, int x, int y, int) {
  const ClientSize client = PaneClientSize(pane);
  if (!CanPan(client.width, client.height, imageWidth, imageHeight)) {
    return;
  }
  preview.lastMouseX = x;
  preview.lastMouseY = y;
  SetCapture(pane);
  SetPaneCursor(IDCUR_HAND_GRIP);
}

void FilterDialog::OnMouseMove(HWND pane, int x, int y, int) {
  const ClientSize client = PaneClientSize(pane);
  if (GetCapture()) {
    const int32_t oldX = preview.scrollX, oldY = preview.scrollY;
    const DragAxis dx =
        DragAxisStep(preview.scrollX, preview.lastMouseX, x, imageWidth, client.width);
    const DragAxis dy =
        DragAxisStep(preview.scrollY, preview.lastMouseY, y, imageHeight, client.height);
    preview.scrollX = dx.scroll;
    preview.lastMouseX = dx.lastMouse;
    preview.scrollY = dy.scroll;
    preview.lastMouseY = dy.lastMouse;
    if (preview.scrollX != oldX || preview.scrollY != oldY) Redraw();
    SetPaneCursor(IDCUR_HAND_GRIP);
    return;
  }
  if (!CanPan(client.width, client.height, imageWidth, imageHeight)) {
    return;  // the platform's cursor stays
  }
  SetPaneCursor(IDCUR_HAND_OPEN);
}

void FilterDialog::OnLButtonUp(HWND pane, int, int, int) {
  if (GetCapture() == pane) ReleaseCapture();
}

void FilterDialog::Redraw() {
  HWND pane = GetPane();
  WindowDc dc(pane);
  PaintPreview(pane, dc);
}
