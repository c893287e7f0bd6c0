// The Posterization filter's settings dialog: the level count in its edit box, which
// its up-down and trackbar only write into, and a live preview.
#pragma once
#include "dialogs/filter_dialog.h"
#include "dialogs/tracked_value.h"
#include "settings/settings_records.h"

class PosterizationDialog : public FilterDialog {
 public:
  PosterizationDialog();

 protected:
  INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  BOOL OnInitDialog() override;
  BOOL OnCommand(HWND control, WORD id, WORD code) override;
  void OnOK(SettingsWriter& settings) override;
  RowRule PreviewRowRule() override;

 private:
  // The last level count accepted from the box: what a rejected text falls back to, the
  // base of the trackbar's steps and what the preview shows. Always 2..255.
  int32_t division = kDefaultDivision;
  TrackedValue divisionBox;
};
