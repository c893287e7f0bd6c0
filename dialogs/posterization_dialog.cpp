// The Posterization dialog. Box 1012 is the single source of truth: its EN_CHANGE,
// which the platform sends synchronously also for the dialog's own SetDlgItemInt,
// accepts a level count from 2 to 255 or puts the last accepted one back.
#include "dialogs/posterization_dialog.h"

#include <commctrl.h>

#include "filters/pixel_rules.h"
#include "filters/posterization_filter.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {

// A page step of the trackbar, whatever page size the control itself uses.
constexpr int32_t kDivisionPage = 32;

}  // namespace

int PosterizationFilter::Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  PosterizationDialog dialog;
  return dialog.Show(parent, image, width, height) == IDOK ? 1 : 0;
}

PosterizationDialog::PosterizationDialog() : FilterDialog(IDD_POSTERIZATION) {}

INT_PTR PosterizationDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL && lParam != 0 &&
      GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_DIVISION_SLIDER) {
    return OnTrackbarScroll(LOWORD(wParam), HIWORD(wParam)) ? TRUE : FALSE;
  }
  return FilterDialog::DialogProc(window, message, wParam, lParam);
}

bool PosterizationDialog::OnTrackbarScroll(WORD code, WORD thumb) {
  int32_t v;
  switch (code) {
    // The line steps may leave the range; the box's validation then restores d.
    case TB_LINEUP: v = division - 1; break;
    case TB_LINEDOWN: v = division + 1; break;
    case TB_PAGEUP: v = division - kDivisionPage < kMinDivision ? kMinDivision : division - kDivisionPage; break;
    case TB_PAGEDOWN: v = division + kDivisionPage > kMaxDivision ? kMaxDivision : division + kDivisionPage; break;
    case TB_THUMBPOSITION:
    case TB_THUMBTRACK: v = static_cast<int16_t>(thumb); break;
    // Home sends the count to its maximum and End to its minimum.
    case TB_TOP: v = kMaxDivision; break;
    case TB_BOTTOM: v = kMinDivision; break;
    default: return false;
  }
  SetDlgItemInt(dialogWindow, IDC_DIVISION_EDIT, static_cast<UINT>(v), TRUE);
  return true;
}

BOOL PosterizationDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  const PosterizationSettings stored = ReadPosterizationSettings();

  SendDlgItemMessageA(dialogWindow, IDC_DIVISION_SPIN, UDM_SETRANGE32, kMinDivision, kMaxDivision);
  SendDlgItemMessageA(dialogWindow, IDC_DIVISION_SLIDER, TBM_SETRANGEMIN, FALSE, kMinDivision);
  SendDlgItemMessageA(dialogWindow, IDC_DIVISION_SLIDER, TBM_SETRANGEMAX, TRUE, kMaxDivision);
  SendDlgItemMessageA(dialogWindow, IDC_DIVISION_SLIDER, TBM_SETTICFREQ, kDivisionPage, 0);

  const int32_t v = InRange(stored.division, kMinDivision, kMaxDivision) ? stored.division : division;
  // Accepted by the box's EN_CHANGE; nothing is drawn, the preview box is still clear.
  SetDlgItemInt(dialogWindow, IDC_DIVISION_EDIT, static_cast<UINT>(v), TRUE);
  SendDlgItemMessageA(dialogWindow, IDC_DIVISION_SLIDER, TBM_SETPOS, TRUE, v);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL PosterizationDialog::OnCommand(HWND control, WORD id, WORD code) {
  if (code == EN_CHANGE && id == IDC_DIVISION_EDIT) OnDivisionEdited();
  return FilterDialog::OnCommand(control, id, code);
}

void PosterizationDialog::OnDivisionEdited() {
  BOOL read = FALSE;
  const int32_t v = static_cast<int32_t>(GetDlgItemInt(dialogWindow, IDC_DIVISION_EDIT, &read, TRUE));
  if (read && InRange(v, kMinDivision, kMaxDivision)) {
    division = v;
    SendDlgItemMessageA(dialogWindow, IDC_DIVISION_SLIDER, TBM_SETPOS, TRUE, v);
    if (IsPreviewChecked()) Redraw();
  } else {
    // The nested EN_CHANGE of this write accepts the restored value.
    SetDlgItemInt(dialogWindow, IDC_DIVISION_EDIT, static_cast<UINT>(division), TRUE);
  }
}

void PosterizationDialog::OnOK() {
  char path[kSettingsPathSize];
  GetSettingsPath(path, sizeof path);
  WriteIntFromEdit(kPosterizationSection, "division", IDC_DIVISION_EDIT, path);
  WriteSettingsString(kPosterizationSection, "preview", IsPreviewChecked() ? "1" : "0", path);
  FlushSettings(path);
}

void PosterizationDialog::RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                                        const PaneSize* visibleSize, const PaneSize* paneSize,
                                        const PanePoint* scroll, const uint8_t* image,
                                        const PaneSize* imageSize) {
  // The box holds the accepted count whenever the pane can be painted; should it not,
  // the last accepted count stands in, so n - 1 is never 0.
  uint32_t n = GetDlgItemInt(dialogWindow, IDC_DIVISION_EDIT, nullptr, FALSE);
  if (n < static_cast<uint32_t>(kMinDivision) || n > static_cast<uint32_t>(kMaxDivision)) {
    n = static_cast<uint32_t>(division);
  }
  ComposePreview(previewBuffer, *origin, *visibleSize, *paneSize, *scroll, image, *imageSize,
                 [n](Bgr c) {
                   return Bgr{PosterizeChannel(c.b, n), PosterizeChannel(c.g, n),
                              PosterizeChannel(c.r, n)};
                 });
}
