#include "dialogs/tracked_value.h"

#include <commctrl.h>

namespace {
bool InRange(int32_t v, const TrackbarRange& r) { return v >= r.minimum && v <= r.maximum; }
}  // namespace

void InitTrackedValue(HWND dialog, const TrackedValueControls& c, int32_t stored,
                      int32_t accepted) {
  const TrackbarRange& r = c.range;
  SendDlgItemMessageA(dialog, c.spin, UDM_SETRANGE32, r.minimum, r.maximum);
  SendDlgItemMessageA(dialog, c.slider, TBM_SETRANGEMIN, FALSE, r.minimum);
  SendDlgItemMessageA(dialog, c.slider, TBM_SETRANGEMAX, TRUE, r.maximum);
  SendDlgItemMessageA(dialog, c.slider, TBM_SETTICFREQ, r.page, 0);
  const int32_t v = InRange(stored, r) ? stored : accepted;
  // Accepted by the box's EN_CHANGE before this returns.
  SetDlgItemInt(dialog, c.edit, static_cast<UINT>(v), TRUE);
  SendDlgItemMessageA(dialog, c.slider, TBM_SETPOS, TRUE, v);
}

bool ScrollTrackedValue(HWND dialog, const TrackedValueControls& c, WPARAM wParam,
                        int32_t accepted) {
  int32_t v;
  if (!TrackbarProposal(LOWORD(wParam), HIWORD(wParam), accepted, c.range, &v)) return false;
  SetDlgItemInt(dialog, c.edit, static_cast<UINT>(v), TRUE);
  return true;
}

bool AcceptTrackedValue(HWND dialog, const TrackedValueControls& c, int32_t& accepted) {
  BOOL read = FALSE;
  const int32_t v = static_cast<int32_t>(GetDlgItemInt(dialog, c.edit, &read, TRUE));
  if (read && InRange(v, c.range)) {
    accepted = v;
    SendDlgItemMessageA(dialog, c.slider, TBM_SETPOS, TRUE, v);
    return true;
  }
  SetDlgItemInt(dialog, c.edit, static_cast<UINT>(accepted), TRUE);
  return false;
}

int32_t PreviewTrackedValue(HWND dialog, const TrackedValueControls& c, int32_t accepted) {
  // Read unsigned without trusting it: a text past the range never reaches the rule.
  BOOL read = FALSE;
  const UINT v = GetDlgItemInt(dialog, c.edit, &read, FALSE);
  const bool usable = read && v <= static_cast<UINT>(c.range.maximum) &&
                      static_cast<int32_t>(v) >= c.range.minimum;
  return usable ? static_cast<int32_t>(v) : accepted;
}

bool IsTrackedSlider(const TrackedValueControls& c, LPARAM lParam) {
  return lParam != 0 && GetDlgCtrlID(reinterpret_cast<HWND>(lParam)) == c.slider;
}
