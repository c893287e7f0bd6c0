// The base dialog: modal run, message routing, OK and Cancel, settings writes.
#include "dialogs/filter_dialog.h"

#include "base/message_box.h"
#include "base/module_handle.h"
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
  pendingException = nullptr;
  // The wide function keeps the template's UTF-16 texts as they are on any ANSI code
  // page; the narrow one would turn them into that code page.
  const INT_PTR result =
      DialogBoxParamW(ModuleHandle(), MAKEINTRESOURCEW(templateId), parent,
                      StaticDialogProc, 0);
  // The dialog's windows are gone: nothing may reach this object through the pointer.
  ActiveDialog = previous;
  if (pendingException) {
    std::exception_ptr e = pendingException;
    pendingException = nullptr;
    std::rethrow_exception(e);
  }
  return static_cast<int>(result);
}

// Exceptions must not unwind through the platform's modal loop (its frames are not
// ours to unwind): the first one is kept, the dialog ends, and Show rethrows it. Once
// one is pending, the object gets no further messages.
INT_PTR CALLBACK FilterDialog::StaticDialogProc(HWND window, UINT message, WPARAM wParam,
                                                LPARAM lParam) {
  FilterDialog* const d = ActiveDialog;
  if (!d || d->pendingException) return FALSE;
  d->dialogWindow = window;
  try {
    return d->DialogProc(window, message, wParam, lParam);
  } catch (...) {
    d->pendingException = std::current_exception();
    EndDialog(window, kEndedByException);
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
    preview.view.Home();
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
