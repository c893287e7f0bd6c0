// The Posterization dialog. Box 1012 is the single source of truth: its EN_CHANGE,
// which the platform sends synchronously also for the dialog's own SetDlgItemInt,
// accepts a level count from 2 to 255 or puts the last accepted one back.
#include "dialogs/posterization_dialog.h"

#include <commctrl.h>

#include "dialogs/tracked_value.h"
#include "filters/active_rows.h"
#include "filters/pixel_rules.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {

// Ticks every 32 steps; a page step is 32 too, whatever the control itself uses.
constexpr TrackedValueControls kDivision = {IDC_DIVISION_EDIT, IDC_DIVISION_SPIN,
                                            IDC_DIVISION_SLIDER,
                                            {kMinDivision, kMaxDivision, 32}};

}  // namespace

PosterizationDialog::PosterizationDialog() : FilterDialog(IDD_POSTERIZATION) {}

INT_PTR PosterizationDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL && IsTrackedSlider(kDivision, lParam)) {
    return ScrollTrackedValue(dialogWindow, kDivision, wParam, division) ? TRUE : FALSE;
  }
  return FilterDialog::DialogProc(window, message, wParam, lParam);
}

BOOL PosterizationDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  const PosterizationSettings stored = ReadPosterizationSettings();

  // Accepted by the box's EN_CHANGE; nothing is drawn, the preview box is still clear.
  InitTrackedValue(dialogWindow, kDivision, stored.division, division);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL PosterizationDialog::OnCommand(HWND control, WORD id, WORD code) {
  if (code == EN_CHANGE && id == IDC_DIVISION_EDIT) OnDivisionEdited();
  return FilterDialog::OnCommand(control, id, code);
}

void PosterizationDialog::OnDivisionEdited() {
  if (AcceptTrackedValue(dialogWindow, kDivision, division) && IsPreviewChecked()) Redraw();
}

void PosterizationDialog::OnOK(SettingsWriter& settings) {
  WriteIntFromEdit(kPosterizationSection, kDivisionKey, IDC_DIVISION_EDIT, settings);
  WriteFlagFromCheck(kPosterizationSection, kPreviewKey, IDC_PREVIEW_CHECK, settings);
}

void PosterizationDialog::RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                                        const PaneSize* visibleSize, const PaneSize* paneSize,
                                        const PanePoint* scroll, const uint8_t* image,
                                        const PaneSize* imageSize) {
  // The box holds the accepted count whenever the pane can be painted; should it not,
  // the last accepted count stands in, so n - 1 is never 0.
  const uint32_t n = static_cast<uint32_t>(PreviewTrackedValue(dialogWindow, kDivision, division));
  ComposePreview(previewBuffer, *origin, *visibleSize, *paneSize, *scroll, image, *imageSize,
                 [n](Bgr c) { return Posterize(c, n); });
}

RowRule PosterizationDialog::PreviewRowRule() {
  const uint32_t n = static_cast<uint32_t>(PreviewTrackedValue(dialogWindow, kDivision, division));
  const FilterRows* rows = &ActiveRows();
  return RowRule([rows, n](const uint8_t* src, uint8_t* dst, int32_t count) {
    rows->posterize(src, dst, count, n, RowStores::kCached);
  });
}
