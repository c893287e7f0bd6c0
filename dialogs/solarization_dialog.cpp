#include "dialogs/solarization_dialog.h"

#include <commctrl.h>

#include "filters/active_rows.h"
#include "filters/pixel_rules.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {
// Ticks every 32 steps; a page step is 32 too.
constexpr TrackedValueControls kThreshold = {IDC_THRESHOLD_EDIT, IDC_THRESHOLD_SPIN,
                                             IDC_THRESHOLD_SLIDER,
                                             {kMinThreshold, kMaxThreshold, 32}};
constexpr const wchar_t* kChannelNames[] = {L"RGB", L"R", L"G", L"B"};  // index = stored channel
}  // namespace

SolarizationDialog::SolarizationDialog()
    : FilterDialog(IDD_SOLARIZATION), threshold(kDefaultThreshold), thresholdBox(kThreshold, threshold) {}

BOOL SolarizationDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  const SolarizationSettings stored = ReadSolarizationSettings();

  // The box's EN_CHANGE accepts the value; the preview box is still unchecked, so
  // nothing is drawn yet.
  thresholdBox.Init(dialogWindow, stored.threshold);

  // The list always opens on "RGB": the stored channel is the filter's alone.
  for (const wchar_t* name : kChannelNames) {
    SendDlgItemMessageW(dialogWindow, IDC_CHANNEL_COMBO, CB_ADDSTRING, 0,
                        reinterpret_cast<LPARAM>(name));
  }
  SendDlgItemMessageW(dialogWindow, IDC_CHANNEL_COMBO, CB_SETCURSEL, 0, 0);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

INT_PTR SolarizationDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // The trackbar only proposes a value to the edit box, whose EN_CHANGE accepts it (and
  // moves the trackbar there) or restores the last one.
  if (message == WM_HSCROLL && thresholdBox.IsSlider(lParam)) {
    return thresholdBox.Scroll(dialogWindow, wParam) ? TRUE : FALSE;
  }
  return FilterDialog::DialogProc(window, message, wParam, lParam);
}

BOOL SolarizationDialog::OnCommand(HWND control, WORD id, WORD code) {
  // Every text that reaches the box, typed or written by the up-down, the trackbar or
  // this dialog, is checked at once.
  const bool changed = thresholdBox.OnCommand(dialogWindow, id, code) ||
                       (code == CBN_SELCHANGE && id == IDC_CHANNEL_COMBO);
  if (changed && IsPreviewChecked()) Redraw();
  return FilterDialog::OnCommand(control, id, code);
}

void SolarizationDialog::OnOK(SettingsWriter& settings) {
  thresholdBox.Settle(dialogWindow);  // a text still being typed is not saved
  WriteIntFromEdit(kSolarizationSection, kThresholdKey, IDC_THRESHOLD_EDIT, settings);
  const LRESULT channel = SendDlgItemMessageW(dialogWindow, IDC_CHANNEL_COMBO, CB_GETCURSEL, 0, 0);
  if (channel != CB_ERR) settings.WriteInt(kSolarizationSection, kChannelKey, static_cast<int32_t>(channel));
  WriteFlagFromCheck(kSolarizationSection, kPreviewKey, IDC_PREVIEW_CHECK, settings);
}

int32_t SolarizationDialog::PreviewChannel() {
  const LRESULT channel = SendDlgItemMessageW(dialogWindow, IDC_CHANNEL_COMBO, CB_GETCURSEL, 0, 0);
  return channel == CB_ERR ? 0 : static_cast<int32_t>(channel);  // no selection counts as "RGB"
}

RowRule SolarizationDialog::PreviewRowRule() {
  // The last accepted threshold, whatever the box holds while the user types, so that
  // nothing out of range (nor a shift that wraps) reaches the rule.
  const uint32_t scaled = ScaledThreshold(threshold);
  const int32_t k = PreviewChannel();
  const FilterRows* rows = &ActiveRows();
  return RowRule([rows, scaled, k](const uint8_t* src, uint8_t* dst, int32_t count) {
    rows->solarize(src, dst, count, scaled, k, RowStores::kCached);
  });
}
