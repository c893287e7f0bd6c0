// The base of the settings dialogs: runs a dialog template modally, routes its
// messages to virtual operations, ends it on OK or Cancel, owns the preview pane and
// saves control values to the settings file, keeping the dialog open with a message
// when they cannot be saved.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/carried_exception.h"
#include "dialogs/preview_pane.h"

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
  // The pane's paint and left-button messages; the base hands them to the pane.
  virtual void PaintPreview(HWND pane, HDC dc);
  virtual void OnLButtonDown(HWND pane, int x, int y, int keys);
  virtual void OnLButtonUp(HWND pane, int x, int y, int keys);
  virtual void OnMouseMove(HWND pane, int x, int y, int keys);
  // Composes the filtered picture of the visible area at 1:1 into `previewBuffer`; the
  // base runs PreviewRowRule over it.
  virtual void RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                             const PaneSize* visibleSize, const PaneSize* paneSize,
                             const PanePoint* scroll, const uint8_t* image,
                             const PaneSize* imageSize);
  // The filter as a rule for a row of pixels, with the values the dialog accepted last:
  // what the preview shows at every level. The base leaves the pixels as they are.
  virtual RowRule PreviewRowRule();

  // The base OnInitDialog: 1 when the preview is ready (or there is no pane), 0 when
  // its buffer cannot be allocated.
  int InitPreview();

  // The dialog's window, where the concrete dialogs find their controls.
  HWND dialogWindow = nullptr;

 private:
  // The pane, its paints and left button routed through the operations above.
  class DialogPane final : public PreviewPane {
   public:
    DialogPane(FilterDialog& dialog, CarriedException& failure) : PreviewPane(failure), dialog(dialog) {}

   private:
    void PaintPane(HWND pane, HDC dc) override;
    void PaneMouse(HWND pane, UINT message, int x, int y, int keys) override;
    void RenderPane(const PaneFrame& frame) override;
    RowRule PaneRule() override;

    FilterDialog& dialog;
  };

  // The wheel as the dialog gets it, passed on to the pane.
  BOOL OnDialogWheel(WPARAM wParam, LPARAM lParam);

  int32_t templateId;
  // The host's image, borrowed for one Show.
  const uint8_t* image = nullptr;
  int32_t imageWidth = 0;
  int32_t imageHeight = 0;
  // An exception caught in the dialog's or the pane's procedure, carried past the modal
  // loop.
  CarriedException failure;
  DialogPane preview{*this, failure};
};

// The dialog being shown; only one runs at a time.
extern FilterDialog* ActiveDialog;
