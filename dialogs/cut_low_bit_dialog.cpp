// The Cut Low Bit dialog. Each box is the single source of truth for its channel: its
// EN_CHANGE, which the platform sends synchronously also for the dialog's own
// SetDlgItemInt, accepts a bit count from 0 to 7 (a text that reads as no number counts
// as 0 and stays), puts the last accepted count back otherwise, and applies the link.
#include "dialogs/cut_low_bit_dialog.h"

#include <commctrl.h>

#include "dialogs/typed_number.h"
#include "filters/active_rows.h"
#include "filters/pixel_rules.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr WORD kBitsSpins[] = {IDC_RED_BITS_SPIN, IDC_GREEN_BITS_SPIN, IDC_BLUE_BITS_SPIN};

bool IsBitsEdit(WORD id) { return id >= IDC_RED_BITS_EDIT && id <= IDC_BLUE_BITS_EDIT; }

}  // namespace

CutLowBitDialog::CutLowBitDialog()
    : FilterDialog(IDD_CUTLOWBIT),
      bitsBoxes{NumberBox(IDC_RED_BITS_EDIT), NumberBox(IDC_GREEN_BITS_EDIT), NumberBox(IDC_BLUE_BITS_EDIT)} {}

int32_t& CutLowBitDialog::FieldOf(WORD id) {
  switch (id) {
    case IDC_RED_BITS_EDIT: return rmask;
    case IDC_GREEN_BITS_EDIT: return gmask;
    default: return bmask;
  }
}

NumberBox& CutLowBitDialog::BoxOf(WORD id) { return bitsBoxes[id - IDC_RED_BITS_EDIT]; }

BOOL CutLowBitDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  for (WORD spin : kBitsSpins) {
    SendDlgItemMessageW(dialogWindow, spin, UDM_SETRANGE, 0, MAKELPARAM(kMaxLowBits, kMinLowBits));
  }
  const CutLowBitSettings stored = ReadCutLowBitSettings();
  // No range test here: each box's EN_CHANGE keeps 0..7 and replaces anything else (a
  // negative count arrives as its unsigned form) by the field, still the default. The
  // link box is still clear, so stored counts that differ open unchanged.
  bitsBoxes[0].Write(dialogWindow, stored.rmask, false);
  bitsBoxes[1].Write(dialogWindow, stored.gmask, false);
  bitsBoxes[2].Write(dialogWindow, stored.bmask, false);
  CheckDlgButton(dialogWindow, IDC_LINK_CHECK, stored.link != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL CutLowBitDialog::OnCommand(HWND control, WORD id, WORD code) {
  if (code == EN_CHANGE && IsBitsEdit(id)) OnBitsEdited(id);
  return FilterDialog::OnCommand(control, id, code);
}

void CutLowBitDialog::OnBitsEdited(WORD id) {
  NumberBox& box = BoxOf(id);
  // An empty box, or one that reads as no number, counts as 0 and keeps its text.
  const TypedNumber typed = ReadTypedBitCount(box.Text(dialogWindow), kMaxLowBits);
  if (typed.kind == TypedText::kRejected) {
    // The nested EN_CHANGE of this write accepts the restored value (and links it).
    box.Write(dialogWindow, FieldOf(id), false);
    return;
  }
  FieldOf(id) = typed.value;
  const bool linked = IsDlgButtonChecked(dialogWindow, IDC_LINK_CHECK) == BST_CHECKED;
  if (linked && linking) return;  // one of the copies below: store only
  if (linked) {
    // Copied into the other boxes first, so that the one redraw shows them all; the
    // edited box keeps its text and the caret where the user left it.
    linking = true;
    for (NumberBox& other : bitsBoxes) {
      if (&other != &box) other.Write(dialogWindow, typed.value, false);
    }
    linking = false;
  }
  if (IsPreviewChecked()) Redraw();
}

void CutLowBitDialog::WriteBitsFromEdit(const char* key, WORD id, SettingsWriter& settings) {
  // A box that reads as no number leaves its key as it was; any other text in it is a
  // count the box accepted.
  const TypedNumber typed = ReadTypedBitCount(BoxOf(id).Text(dialogWindow), kMaxLowBits);
  if (typed.kind == TypedText::kAccepted) settings.WriteInt(kCutLowBitSection, key, FieldOf(id));
}

void CutLowBitDialog::OnOK(SettingsWriter& settings) {
  WriteBitsFromEdit(kRedMaskKey, IDC_RED_BITS_EDIT, settings);
  WriteBitsFromEdit(kGreenMaskKey, IDC_GREEN_BITS_EDIT, settings);
  WriteBitsFromEdit(kBlueMaskKey, IDC_BLUE_BITS_EDIT, settings);
  WriteFlagFromCheck(kCutLowBitSection, kLinkKey, IDC_LINK_CHECK, settings);
  WriteFlagFromCheck(kCutLowBitSection, kPreviewKey, IDC_PREVIEW_CHECK, settings);
}

RowRule CutLowBitDialog::PreviewRowRule() {
  // The fields only ever take counts the boxes accepted, 0..7. No early return for 0, 0,
  // 0 as in the filter: masks of 0xFF leave the source's colours as they are.
  const uint8_t red = LowBitMask[rmask], green = LowBitMask[gmask], blue = LowBitMask[bmask];
  const FilterRows* rows = &ActiveRows();
  return RowRule([rows, red, green, blue](const uint8_t* src, uint8_t* dst, int32_t count) {
    rows->cutLowBits(src, dst, count, red, green, blue, RowStores::kCached);
  });
}
