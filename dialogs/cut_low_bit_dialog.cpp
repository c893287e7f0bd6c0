// The Cut Low Bit dialog. Each box is the single source of truth for its channel: its
// EN_CHANGE, which the platform sends synchronously also for the dialog's own
// SetDlgItemInt, accepts a bit count from 0 to 7 (a text that reads as no number counts
// as 0 and stays), puts the last accepted count back otherwise, and applies the link.
#include "dialogs/cut_low_bit_dialog.h"

#include <commctrl.h>

#include "filters/active_rows.h"
#include "filters/pixel_rules.h"
#include "resources/resource.h"
#include "settings/settings_file.h"

namespace {

constexpr WORD kBitsEdits[] = {IDC_RED_BITS_EDIT, IDC_GREEN_BITS_EDIT, IDC_BLUE_BITS_EDIT};
constexpr WORD kBitsSpins[] = {IDC_RED_BITS_SPIN, IDC_GREEN_BITS_SPIN, IDC_BLUE_BITS_SPIN};

bool IsBitsEdit(WORD id) { return id >= IDC_RED_BITS_EDIT && id <= IDC_BLUE_BITS_EDIT; }

}  // namespace

CutLowBitDialog::CutLowBitDialog() : FilterDialog(IDD_CUTLOWBIT) {}

int32_t& CutLowBitDialog::FieldOf(WORD id) {
  switch (id) {
    case IDC_RED_BITS_EDIT: return rmask;
    case IDC_GREEN_BITS_EDIT: return gmask;
    default: return bmask;
  }
}

BOOL CutLowBitDialog::OnInitDialog() {
  if (!FilterDialog::OnInitDialog()) return FALSE;
  for (WORD spin : kBitsSpins) {
    SendDlgItemMessageA(dialogWindow, spin, UDM_SETRANGE, 0, MAKELPARAM(kMaxLowBits, kMinLowBits));
  }
  const CutLowBitSettings stored = ReadCutLowBitSettings();
  // No range test here: each box's EN_CHANGE keeps 0..7 and replaces anything else (a
  // negative count arrives as its unsigned form) by the field, still the default. The
  // link box is still clear, so stored counts that differ open unchanged.
  SetDlgItemInt(dialogWindow, IDC_RED_BITS_EDIT, static_cast<UINT>(stored.rmask), FALSE);
  SetDlgItemInt(dialogWindow, IDC_GREEN_BITS_EDIT, static_cast<UINT>(stored.gmask), FALSE);
  SetDlgItemInt(dialogWindow, IDC_BLUE_BITS_EDIT, static_cast<UINT>(stored.bmask), FALSE);
  CheckDlgButton(dialogWindow, IDC_LINK_CHECK, stored.link != 0 ? BST_CHECKED : BST_UNCHECKED);
  CheckDlgButton(dialogWindow, IDC_PREVIEW_CHECK, stored.preview != 0 ? BST_CHECKED : BST_UNCHECKED);
  return TRUE;
}

BOOL CutLowBitDialog::OnCommand(HWND control, WORD id, WORD code) {
  if (code == EN_CHANGE && IsBitsEdit(id)) OnBitsEdited(id);
  return FilterDialog::OnCommand(control, id, code);
}

void CutLowBitDialog::OnBitsEdited(WORD id) {
  // Read without a success flag: an empty box, or one that reads as no number, counts
  // as 0 and keeps its text.
  const int32_t v = static_cast<int32_t>(GetDlgItemInt(dialogWindow, id, nullptr, FALSE));
  if (!InRange(v, kMinLowBits, kMaxLowBits)) {
    // The nested EN_CHANGE of this write accepts the restored value (and links it).
    SetDlgItemInt(dialogWindow, id, static_cast<UINT>(FieldOf(id)), FALSE);
    return;
  }
  FieldOf(id) = v;
  const bool linked = IsDlgButtonChecked(dialogWindow, IDC_LINK_CHECK) == BST_CHECKED;
  if (linked && linking) return;  // one of the copies below: store only
  if (linked) {
    // Copy into all three boxes first, so that the one redraw shows them all.
    linking = true;
    for (WORD edit : kBitsEdits) SetDlgItemInt(dialogWindow, edit, static_cast<UINT>(v), FALSE);
    linking = false;
  }
  if (IsPreviewChecked()) Redraw();
}

void CutLowBitDialog::WriteBitsFromEdit(const char* key, WORD id, SettingsWriter& settings) {
  // A box that reads as no number leaves its key as it was; so does one holding a
  // number outside 0..7 (a pasted "-2", say), which the filter would refuse to run with.
  BOOL read = FALSE;
  const int32_t v = static_cast<int32_t>(GetDlgItemInt(dialogWindow, id, &read, TRUE));
  if (!read || !InRange(v, kMinLowBits, kMaxLowBits)) return;
  WriteIntFromEdit(kCutLowBitSection, key, id, settings);
}

void CutLowBitDialog::OnOK(SettingsWriter& settings) {
  WriteBitsFromEdit(kRedMaskKey, IDC_RED_BITS_EDIT, settings);
  WriteBitsFromEdit(kGreenMaskKey, IDC_GREEN_BITS_EDIT, settings);
  WriteBitsFromEdit(kBlueMaskKey, IDC_BLUE_BITS_EDIT, settings);
  WriteFlagFromCheck(kCutLowBitSection, kLinkKey, IDC_LINK_CHECK, settings);
  WriteFlagFromCheck(kCutLowBitSection, kPreviewKey, IDC_PREVIEW_CHECK, settings);
}

int32_t CutLowBitDialog::BitsForPreview(WORD id) {
  const uint32_t n = GetDlgItemInt(dialogWindow, id, nullptr, FALSE);
  return n <= static_cast<uint32_t>(kMaxLowBits) ? static_cast<int32_t>(n) : FieldOf(id);
}

void CutLowBitDialog::RenderPreview(uint32_t* previewBuffer, const PanePoint* origin,
                                    const PaneSize* visibleSize, const PaneSize* paneSize,
                                    const PanePoint* scroll, const uint8_t* image,
                                    const PaneSize* imageSize) {
  // No early return for 0, 0, 0 as in the filter: the preview then shows the source.
  const uint8_t red = LowBitMask[BitsForPreview(IDC_RED_BITS_EDIT)];
  const uint8_t green = LowBitMask[BitsForPreview(IDC_GREEN_BITS_EDIT)];
  const uint8_t blue = LowBitMask[BitsForPreview(IDC_BLUE_BITS_EDIT)];
  ComposePreview(previewBuffer, *origin, *visibleSize, *paneSize, *scroll, image, *imageSize,
                 [red, green, blue](Bgr c) { return CutLowBits(c, red, green, blue); });
}

RowRule CutLowBitDialog::PreviewRowRule() {
  const uint8_t red = LowBitMask[BitsForPreview(IDC_RED_BITS_EDIT)];
  const uint8_t green = LowBitMask[BitsForPreview(IDC_GREEN_BITS_EDIT)];
  const uint8_t blue = LowBitMask[BitsForPreview(IDC_BLUE_BITS_EDIT)];
  const FilterRows* rows = &ActiveRows();
  return RowRule([rows, red, green, blue](const uint8_t* src, uint8_t* dst, int32_t count) {
    rows->cutLowBits(src, dst, count, red, green, blue, RowStores::kCached);
  });
}
