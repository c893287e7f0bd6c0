// The Solarization filter's settings dialog: threshold (edit box, up-down, trackbar)
// and the channels to invert, with the live preview.
#pragma once
#include "dialogs/filter_dialog.h"
#include "dialogs/tracked_value.h"

class SolarizationDialog : public FilterDialog {
 public:
  SolarizationDialog();
  ~SolarizationDialog() override = default;

 protected:
  INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(HWND control, WORD id, WORD code) override;
  void OnOK(SettingsWriter& settings) override;
  RowRule PreviewRowRule() override;

  // The last value the edit box accepted: what a rejected text is replaced with, where
  // the trackbar's steps start from and what the preview shows.
  int32_t threshold;

 private:
  // The list's channel, 0 ("RGB") when nothing is selected.
  int32_t PreviewChannel();

  TrackedValue thresholdBox;
};
