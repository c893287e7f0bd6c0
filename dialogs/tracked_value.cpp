#include "dialogs/tracked_value.h"

#include <commctrl.h>

#include <string>

#include "dialogs/typed_number.h"

void TrackedValue::Init(HWND dialog, int32_t stored) {
  const TrackbarRange& r = controls.range;
  SendDlgItemMessageW(dialog, controls.spin, UDM_SETRANGE32, r.minimum, r.maximum);
  SendDlgItemMessageW(dialog, controls.slider, TBM_SETRANGEMIN, FALSE, r.minimum);
  SendDlgItemMessageW(dialog, controls.slider, TBM_SETRANGEMAX, TRUE, r.maximum);
  SendDlgItemMessageW(dialog, controls.slider, TBM_SETTICFREQ, r.page, 0);
  const int32_t v = stored >= r.minimum && stored <= r.maximum ? stored : accepted;
  ready = true;
  // Accepted by the box's EN_CHANGE before this returns.
  box.Write(dialog, v, true);
  SendDlgItemMessageW(dialog, controls.slider, TBM_SETPOS, TRUE, v);
}

bool TrackedValue::Scroll(HWND dialog, WPARAM wParam) {
  int32_t v;
  if (!TrackbarProposal(LOWORD(wParam), HIWORD(wParam), accepted, controls.range, &v)) return false;
  box.Write(dialog, v, true);  // a line step past an end is put back at once
  return true;
}

bool TrackedValue::IsSlider(LPARAM lParam) const {
  return lParam != 0 && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == controls.slider;
}

bool TrackedValue::OnCommand(HWND dialog, WORD id, WORD code) {
  if (id != controls.edit) return false;
  if (code == EN_KILLFOCUS) {
    Settle(dialog);  // an unfinished text never outlasts the user's typing
    return false;
  }
  if (code != EN_CHANGE) return false;
  const TypedNumber typed =
      ReadTypedNumber(box.Text(dialog), controls.range.minimum, controls.range.maximum, box.OwnWrite());
  switch (typed.kind) {
    case TypedText::kAccepted:
      accepted = typed.value;
      SendDlgItemMessageW(dialog, controls.slider, TBM_SETPOS, TRUE, typed.value);
      return true;
    case TypedText::kUnfinished:
      return false;  // text and caret stay; the last accepted value stands
    default:
      // The nested EN_CHANGE of this write accepts the value.
      box.Write(dialog, accepted, true);
      return false;
  }
}

void TrackedValue::Settle(HWND dialog) {
  if (!ready) return;
  // Leading zeros go too, so that the box reads back as exactly the accepted value.
  const std::string digits = std::to_string(accepted);
  if (box.Text(dialog) != std::wstring(digits.begin(), digits.end())) box.Write(dialog, accepted, true);
}
