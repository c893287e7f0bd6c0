// The Cut Low Bit filter's settings dialog: one bit count per channel in edit boxes
// 1014-1016 (their up-downs only write into them), the link option that copies a
// change to the other two, and a live preview.
#pragma once
#include "dialogs/filter_dialog.h"
#include "dialogs/number_box.h"
#include "settings/settings_records.h"

class CutLowBitDialog : public FilterDialog {
 public:
  CutLowBitDialog();

 protected:
  BOOL OnInitDialog() override;
  BOOL OnCommand(HWND control, WORD id, WORD code) override;
  void OnOK(SettingsWriter& settings) override;
  RowRule PreviewRowRule() override;

 private:
  void OnBitsEdited(WORD id);
  // The field of box `id` (1014 red, 1015 green, 1016 blue).
  int32_t& FieldOf(WORD id);
  NumberBox& BoxOf(WORD id);
  void WriteBitsFromEdit(const char* key, WORD id, SettingsWriter& settings);

  // The last bit counts accepted from the boxes, each 0..7: what a rejected text falls
  // back to and what the preview shows, so the mask table only sees 0..7.
  int32_t rmask = kDefaultLowBits;
  int32_t gmask = kDefaultLowBits;
  int32_t bmask = kDefaultLowBits;
  // Set only while one accepted value is copied into the other boxes.
  bool linking = false;
  NumberBox bitsBoxes[3];  // red, green, blue
};
