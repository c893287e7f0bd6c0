// The base dialog: modal run, message routing (the pane's messages on to the pane), OK
// and Cancel, settings writes.
#include "dialogs/filter_dialog.h"

#include "base/message_box.h"
#include "base/module_handle.h"
#include "dialogs/filtered_preview.h"
#include "resources/resource.h"
#include "resources/texts_cp932.h"
#include "settings/settings_file.h"

FilterDialog* ActiveDialog = nullptr;

FilterDialog::FilterDialog(int32_t templateId) : templateId(templateId) {}

FilterDialog::~FilterDialog() = default;

int FilterDialog::Show(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  FilterDialog* const previous = ActiveDialog;
  ActiveDialog = this;
  // A missing image is shown as an empty one, whatever size came with it.
  this->image = image;
  imageWidth = image ? width : 0;
  imageHeight = image ? height : 0;
  failure.Clear();
  // The wide function keeps the template's UTF-16 texts as they are on any ANSI code
  // page; the narrow one would turn them into that code page.
  const INT_PTR result =
      DialogBoxParamW(ModuleHandle(), MAKEINTRESOURCEW(templateId), parent,
                      StaticDialogProc, 0);
  // The dialog's windows are gone: nothing may reach this object through the pointer.
  ActiveDialog = previous;
  failure.RethrowIfAny();
  return static_cast<int>(result);
}

// An exception ends the dialog and is carried out to Show (carried_exception.h); from
// then on the object gets no further messages.
INT_PTR CALLBACK FilterDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  FilterDialog* const d = ActiveDialog;
  if (!d || d->failure.Pending()) return FALSE;
  d->dialogWindow = window;
  try {
    return d->DialogProc(window, message, wParam, lParam);
  } catch (...) {
    d->failure.KeepAndEnd(window);
    return FALSE;
  }
}

INT_PTR FilterDialog::DialogProc(HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_COMMAND:
      return OnCommand(reinterpret_cast<HWND>(lParam), LOWORD(wParam), HIWORD(wParam));
    case WM_MOUSEWHEEL:
      return OnDialogWheel(wParam, lParam);
    default:
      return FALSE;
  }
}

BOOL FilterDialog::OnInitDialog() { return InitPreview(); }

BOOL FilterDialog::OnCommand(HWND, WORD id, WORD code) {
  // The code is not examined for OK and Cancel: Enter, Esc and the close box arrive
  // as these ids too.
  if (id == IDOK || id == IDCANCEL) {
    int result = IDCANCEL;
    if (id == IDOK) {
      SettingsWriter settings;
      OnOK(settings);  // while the controls still hold the user's values
      if (!settings.Flush()) {
        // The user can fix the folder and press OK again, or cancel.
        ShowMessageBox(dialogWindow, WideFromCp932(kSettingsNotSavedMessage) + L"\n" + settings.Path(),
                       kErrorCaption, MB_ICONERROR);
        return TRUE;
      }
      result = IDOK;
    }
    preview.Home();
    EndDialog(dialogWindow, result);
    return TRUE;
  }
  if (code == BN_CLICKED && id == IDC_PREVIEW_CHECK) {
    // Repainted through the paint message, which reads the box's new state.
    if (HWND pane = GetPane()) InvalidateRect(pane, nullptr, FALSE);
  }
  return FALSE;
}

void FilterDialog::OnOK(SettingsWriter&) {}

BOOL FilterDialog::OnDialogWheel(WPARAM wParam, LPARAM lParam) {
  // Older systems send the wheel to the focused control, and an edit box or a button
  // passes it on to the dialog; a focused combo box keeps it for its own list.
  for (HWND w = GetFocus(); w && w != dialogWindow; w = GetParent(w)) {
    wchar_t name[16] = L"";
    GetClassNameW(w, name, 16);
    if (lstrcmpiW(name, L"ComboBox") == 0) return FALSE;
  }
  const POINT screen{static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  HWND pane = GetPane();
  return pane && preview.OnWheel(pane, GET_WHEEL_DELTA_WPARAM(wParam), screen) ? TRUE : FALSE;
}

int FilterDialog::InitPreview() {
  HWND pane = GetPane();
  if (!pane) return 1;  // a template without a pane: no preview at all
  return preview.Attach(pane, GetDlgItem(dialogWindow, IDC_PREVIEW_CHECK), image,
                        {imageWidth, imageHeight}) ? 1 : 0;
}

void FilterDialog::PaintPreview(HWND pane, HDC dc) { preview.Paint(pane, dc); }

void FilterDialog::OnLButtonDown(HWND pane, int x, int y, int) { preview.OnLButtonDown(pane, x, y); }

void FilterDialog::OnLButtonUp(HWND pane, int, int, int) { preview.OnLButtonUp(pane); }

void FilterDialog::OnMouseMove(HWND pane, int x, int y, int) { preview.OnMouseMove(pane, x, y); }

void FilterDialog::RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                                 const PaneSize* visibleSize, const PaneSize* paneSize,
                                 const PanePoint* scroll, const uint8_t* image,
                                 const PaneSize* imageSize) {
  ComposeFilteredPreview(previewBuffer, *origin, *visibleSize, *paneSize, *scroll, image, *imageSize,
                         PreviewRowRule());
}

RowRule FilterDialog::PreviewRowRule() { return RowRule(); }

void FilterDialog::Redraw() { preview.Redraw(GetPane()); }

void FilterDialog::DialogPane::PaintPane(HWND pane, HDC dc) { dialog.PaintPreview(pane, dc); }

void FilterDialog::DialogPane::PaneMouse(HWND pane, UINT message, int x, int y, int keys) {
  switch (message) {
    case WM_MOUSEMOVE: dialog.OnMouseMove(pane, x, y, keys); break;
    case WM_LBUTTONDOWN: dialog.OnLButtonDown(pane, x, y, keys); break;
    case WM_LBUTTONUP: dialog.OnLButtonUp(pane, x, y, keys); break;
    default: break;
  }
}

void FilterDialog::DialogPane::RenderPane(const PaneFrame& f) {
  dialog.RenderPreview(f.buffer, &f.origin, &f.visible, &f.pane, &f.scroll, f.image, &f.imageSize);
}

RowRule FilterDialog::DialogPane::PaneRule() { return dialog.PreviewRowRule(); }

bool FilterDialog::IsPreviewChecked() const {
  return IsDlgButtonChecked(dialogWindow, IDC_PREVIEW_CHECK) == BST_CHECKED;
}

HWND FilterDialog::GetPane() const { return GetDlgItem(dialogWindow, IDC_PREVIEW_PANE); }

bool FilterDialog::WriteIntFromEdit(const char* section, const char* key, int controlId,
                                    SettingsWriter& settings) {
  BOOL valid = FALSE;
  const int value = static_cast<int>(GetDlgItemInt(dialogWindow, controlId, &valid, TRUE));
  if (!valid) return false;  // the file keeps its previous value
  settings.WriteInt(section, key, value);
  return true;
}

void FilterDialog::WriteFlagFromCheck(const char* section, const char* key, int controlId,
                                      SettingsWriter& settings) {
  settings.WriteFlag(section, key, IsDlgButtonChecked(dialogWindow, controlId) == BST_CHECKED);
}
