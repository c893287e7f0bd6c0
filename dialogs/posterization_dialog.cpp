// The Posterization dialog. The box is the single source of truth: its EN_CHANGE,
// which the platform sends synchronously also for the dialog's own SetDlgItemInt,
// accepts a level count from 2 to 255, waits for more digits after a 1 or an empty box,
// or puts the last accepted count back.
#include "dialogs/posterization_dialog.h"

#include <commctrl.h>

#include "filters/active_rows.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {

// Ticks every 32 steps; a page step is 32 too, whatever the control itself uses.
constexpr TrackedValueControls kDivision = {IDC_DIVISION_EDIT, IDC_DIVISION_SPIN,
                                            IDC_DIVISION_SLIDER,
                                            {kMinDivision, kMaxDivision, 32}};

}  // namespace

PosterizationDialog::PosterizationDialog() : FilterDialog(IDD_POSTERIZATION), divisionBox(kDivision, division) {}

INT_PTR PosterizationDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL && divisionBox.IsSlider(lParam)) {
    return divisionBox.Scroll(dialogWindow, wParam) ? TRUE : FALSE;
  }
  return FilterDialog::DialogProc(window, message, wParam, lParam);
}

BOOL PosterizationDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  const PosterizationSettings stored = ReadPosterizationSettings();

  // Accepted by the box's EN_CHANGE; nothing is drawn, the preview box is still clear.
  divisionBox.Init(dialogWindow, stored.division);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL PosterizationDialog::OnCommand(HWND control, WORD id, WORD code) {
  if (divisionBox.OnCommand(dialogWindow, id, code) && IsPreviewChecked()) Redraw();
  return FilterDialog::OnCommand(control, id, code);
}

void PosterizationDialog::OnOK(SettingsWriter& settings) {
  divisionBox.Settle(dialogWindow);  // a text still being typed is not saved
  WriteIntFromEdit(kPosterizationSection, kDivisionKey, IDC_DIVISION_EDIT, settings);
  WriteFlagFromCheck(kPosterizationSection, kPreviewKey, IDC_PREVIEW_CHECK, settings);
}

RowRule PosterizationDialog::PreviewRowRule() {
  // The last accepted count, whatever the box holds while the user types: n - 1 is
  // never 0.
  const uint32_t n = static_cast<uint32_t>(division);
  const FilterRows* rows = &ActiveRows();
  return RowRule([rows, n](const uint8_t* src, uint8_t* dst, int32_t count) {
    rows->posterize(src, dst, count, n, RowStores::kCached);
  });
}
