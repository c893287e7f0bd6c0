#include "dialogs/solarization_dialog.h"

#include <commctrl.h>

#include <algorithm>

#include "filters/pixel_rules.h"
#include "filters/solarization_filter.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {
constexpr int32_t kTrackbarTicks = 32;  // also the page step
constexpr const char* kChannelNames[] = {"RGB", "R", "G", "B"};  // index = stored channel
}  // namespace

int SolarizationFilter::Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  SolarizationDialog dialog;
  return dialog.Show(parent, image, width, height) == IDOK ? 1 : 0;
}

SolarizationDialog::SolarizationDialog()
    : FilterDialog(IDD_SOLARIZATION), threshold(kDefaultThreshold) {}

BOOL SolarizationDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  const SolarizationSettings stored = ReadSolarizationSettings();

  SendDlgItemMessageA(dialogWindow, IDC_THRESHOLD_SPIN, UDM_SETRANGE32, kMinThreshold,
                      kMaxThreshold);
  SendDlgItemMessageA(dialogWindow, IDC_THRESHOLD_SLIDER, TBM_SETRANGEMIN, FALSE, kMinThreshold);
  SendDlgItemMessageA(dialogWindow, IDC_THRESHOLD_SLIDER, TBM_SETRANGEMAX, TRUE, kMaxThreshold);
  SendDlgItemMessageA(dialogWindow, IDC_THRESHOLD_SLIDER, TBM_SETTICFREQ, kTrackbarTicks, 0);

  const int32_t v = InRange(stored.threshold, kMinThreshold, kMaxThreshold) ? stored.threshold
                                                                             : threshold;
  // Accepted by the box's EN_CHANGE before this returns; the preview box is still
  // unchecked, so nothing is drawn yet.
  SetDlgItemInt(dialogWindow, IDC_THRESHOLD_EDIT, static_cast<UINT>(v), TRUE);
  SendDlgItemMessageA(dialogWindow, IDC_THRESHOLD_SLIDER, TBM_SETPOS, TRUE, v);

  // The list always opens on "RGB": the stored channel is the filter's alone.
  for (const char* name : kChannelNames) {
    SendDlgItemMessageA(dialogWindow, IDC_CHANNEL_COMBO, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name));
  }
  SendDlgItemMessageA(dialogWindow, IDC_CHANNEL_COMBO, CB_SETCURSEL, 0, 0);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

INT_PTR SolarizationDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_HSCROLL && lParam != 0 &&
      GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == IDC_THRESHOLD_SLIDER) {
    return OnTrackbarScroll(LOWORD(wParam), HIWORD(wParam));
  }
  return FilterDialog::DialogProc(window, message, wParam, lParam);
}

// The trackbar only proposes a value to the edit box, whose EN_CHANGE accepts it (and
// moves the trackbar there) or restores the last one: so a page step is always 32,
// Home goes to 255 and End to 0, whatever the trackbar did itself.
BOOL SolarizationDialog::OnTrackbarScroll(WORD scrollCode, WORD thumbPosition) {
  int32_t v;
  switch (scrollCode) {
    case TB_LINEUP: v = threshold - 1; break;    // -1 at the end is rejected by the box
    case TB_LINEDOWN: v = threshold + 1; break;  // so is 256
    case TB_PAGEUP: v = std::max(threshold - kTrackbarTicks, kMinThreshold); break;
    case TB_PAGEDOWN: v = std::min(threshold + kTrackbarTicks, kMaxThreshold); break;
    case TB_THUMBPOSITION:
    case TB_THUMBTRACK: v = static_cast<int16_t>(thumbPosition); break;
    case TB_TOP: v = kMaxThreshold; break;
    case TB_BOTTOM: v = kMinThreshold; break;
    default: return FALSE;  // TB_ENDTRACK and the like
  }
  SetDlgItemInt(dialogWindow, IDC_THRESHOLD_EDIT, static_cast<UINT>(v), TRUE);
  return TRUE;
}

BOOL SolarizationDialog::OnCommand(HWND control, WORD id, WORD code) {
  if (code == EN_CHANGE && id == IDC_THRESHOLD_EDIT) {
    OnThresholdEdited();
  } else if (code == CBN_SELCHANGE && id == IDC_CHANNEL_COMBO) {
    if (IsPreviewChecked()) Redraw();
  }
  return FilterDialog::OnCommand(control, id, code);
}

// The box is the one source of truth: every text that reaches it, typed or written by
// the up-down, the trackbar or this dialog, is checked here at once.
void SolarizationDialog::OnThresholdEdited() {
  BOOL valid = FALSE;
  const int32_t value = static_cast<int32_t>(GetDlgItemInt(dialogWindow, IDC_THRESHOLD_EDIT, &valid, TRUE));
  if (valid && InRange(value, kMinThreshold, kMaxThreshold)) {
    threshold = value;
    SendDlgItemMessageA(dialogWindow, IDC_THRESHOLD_SLIDER, TBM_SETPOS, TRUE, value);
    if (IsPreviewChecked()) Redraw();
    return;
  }
  // Raises a nested EN_CHANGE that accepts the restored value.
  SetDlgItemInt(dialogWindow, IDC_THRESHOLD_EDIT, static_cast<UINT>(threshold), TRUE);
}

void SolarizationDialog::OnOK() {
  char path[kSettingsPathSize];
  GetSettingsPath(path, sizeof path);
  WriteIntFromEdit(kSolarizationSection, "threshold", IDC_THRESHOLD_EDIT, path);
  const LRESULT channel = SendDlgItemMessageA(dialogWindow, IDC_CHANNEL_COMBO, CB_GETCURSEL, 0, 0);
  if (channel != CB_ERR) {
    WriteSettingsInt(kSolarizationSection, "channel", static_cast<int>(channel), path);
  }
  WriteSettingsString(kSolarizationSection, "preview", IsPreviewChecked() ? "1" : "0", path);
  FlushSettings(path);
}

void SolarizationDialog::RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                                       const PaneSize* visibleSize, const PaneSize* paneSize,
                                       const PanePoint* scroll, const uint8_t* image,
                                       const PaneSize* imageSize) {
  // Read once per paint. The box holds a valid threshold whenever the pane can be
  // painted; should it not, the last accepted value stands in, so nothing out of range
  // (nor a shift that wraps) reaches the rule.
  BOOL valid = FALSE;
  const UINT typed = GetDlgItemInt(dialogWindow, IDC_THRESHOLD_EDIT, &valid, FALSE);
  const int32_t t = valid && typed <= static_cast<UINT>(kMaxThreshold) ? static_cast<int32_t>(typed)
                                                                       : threshold;
  const uint32_t scaled = ScaledThreshold(t);
  LRESULT channel = SendDlgItemMessageA(dialogWindow, IDC_CHANNEL_COMBO, CB_GETCURSEL, 0, 0);
  if (channel == CB_ERR) channel = 0;  // no selection counts as "RGB"
  const int32_t k = static_cast<int32_t>(channel);
  ComposePreview(previewBuffer, *origin, *visibleSize, *paneSize, *scroll, image, *imageSize,
                 [scaled, k](Bgr c) { return Solarize(c, scaled, k); });
}
