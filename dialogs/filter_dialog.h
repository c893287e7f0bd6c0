// The base of the settings dialogs: runs a dialog template modally, routes its
// messages to virtual operations, ends it on OK or Cancel, owns the preview pane's
// state and saves control values to the settings file, keeping the dialog open with a
// message when they cannot be saved.
#pragma once
#include <windows.h>

#include <cstdint>
#include <exception>
#include <memory>
#include <string>

#include "dialogs/pane_view.h"
#include "dialogs/preview_compose.h"
#include "dialogs/zoomed_preview.h"

class SettingsWriter;

class FilterDialog {
 public:
  explicit FilterDialog(int32_t templateId);
  virtual ~FilterDialog();
  FilterDialog(const FilterDialog&) = delete;
  FilterDialog& operator=(const FilterDialog&) = delete;

  // Runs the dialog modally over the host's image (borrowed, read-only) and returns
  // what it ended with: 1 OK, 2 Cancel, or the platform's failure value. An exception
  // raised inside the dialog ends it and is rethrown here.
  int Show(HWND parent, const uint8_t* image, int32_t width, int32_t height);

  static INT_PTR CALLBACK StaticDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PaneProc(HWND pane, UINT message, WPARAM wParam, LPARAM lParam);

  bool IsPreviewChecked() const;
  HWND GetPane() const;
  // Repaints the pane at once, without waiting for a paint message.
  void Redraw();
  // Writes the integer an edit box holds; false (and nothing written) when it holds none.
  bool WriteIntFromEdit(const char* section, const char* key, int controlId, SettingsWriter& settings);
  // Writes a check box's state as "1" or "0".
  void WriteFlagFromCheck(const char* section, const char* key, int controlId,
                          SettingsWriter& settings);

 protected:
  // Virtual operations in slot order (after the destructor).
  virtual INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnInitDialog();
  virtual BOOL OnCommand(HWND control, WORD id, WORD code);
  // Writes the dialog's values on OK; the base flushes them and ends the dialog only
  // when all reached the file.
  virtual void OnOK(SettingsWriter& settings);
  virtual void PaintPreview(HWND pane, HDC dc);
  virtual void OnLButtonDown(HWND pane, int x, int y, int keys);
  virtual void OnLButtonUp(HWND pane, int x, int y, int keys);
  virtual void OnMouseMove(HWND pane, int x, int y, int keys);
  // Composes the filtered picture of the visible area into `previewBuffer`.
  virtual void RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                             const PaneSize* visibleSize, const PaneSize* paneSize,
                             const PanePoint* scroll, const uint8_t* image,
                             const PaneSize* imageSize);
  // The filter as a rule for a row of pixels, with the values the controls hold now:
  // what the preview runs when zoomed out. The base leaves the pixels as they are.
  virtual RowRule PreviewRowRule();

  // The base OnInitDialog: 1 when the preview is ready (or there is no pane), 0 when
  // its buffer cannot be allocated.
  int InitPreview();

  // The dialog's window, where the concrete dialogs find their controls.
  HWND dialogWindow = nullptr;

 private:
  // The preview pane: the picture buffer and the header it is drawn with, the pane's
  // size when the dialog opened, the zoom, pan position, drag and held button, the
  // zoomed paint's working rows, and the pane's own window procedure.
  struct PreviewPaneState {
    BITMAPINFO bitmapInfo{};
    std::unique_ptr<uint32_t[]> previewBuffer;
    int32_t paneWidth = 0;
    int32_t paneHeight = 0;
    PaneView view;
    ZoomScratch zoomScratch;
    // The window colour, taken once, and the area the last paint covered: a paint that
    // covers another area gives the rest back to the window colour first.
    uint32_t fill = 0;
    PanePoint paintedOrigin{0, 0};
    PaneSize paintedSize{0, 0};
    // The template's caption, shown as it is at 1:1.
    std::wstring caption;
    WNDPROC oldPaneProc = nullptr;
  };

  // The zoom and the right button, from the pane's messages (preview_pane.cpp).
  bool OnPaneWheel(HWND pane, int delta, POINT screen);
  BOOL OnDialogWheel(WPARAM wParam, LPARAM lParam);
  void OnPaneDoubleClick(HWND pane, int x, int y);
  void OnPaneRButton(HWND pane, bool down);
  void OnPaneCaptureLost();
  void ZoomChanged(HWND pane);

  // What a dialog ended by a caught exception returns from the modal loop; never seen
  // by callers, since Show rethrows instead.
  static constexpr INT_PTR kEndedByException = -1;

  int32_t templateId;
  // The host's image, borrowed for one Show.
  const uint8_t* image = nullptr;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  PreviewPaneState preview;
  // An exception caught in a window procedure, carried past the modal loop.
  std::exception_ptr pendingException;
};

// The dialog being shown; only one runs at a time.
extern FilterDialog* ActiveDialog;
