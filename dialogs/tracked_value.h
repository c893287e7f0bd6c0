// An integer setting held in an edit box, with an up-down and a trackbar that only
// write numbers into the box. The box's EN_CHANGE (sent synchronously, also for the
// dialog's own writes) takes a complete number in range at once, leaves a text the user
// is still typing as it is, and puts the last accepted value back over one that can
// never become valid.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/number_box.h"
#include "dialogs/trackbar_steps.h"

struct TrackedValueControls {
  int edit, spin, slider;
  TrackbarRange range;
};

class TrackedValue {
 public:
  // `accepted` is the dialog's field for the value: the last one the box accepted.
  TrackedValue(const TrackedValueControls& controls, int32_t& accepted)
      : controls(controls), accepted(accepted), box(controls.edit) {}

  // Sets the up-down's and the trackbar's ranges, then writes `stored` into the box, or
  // the accepted value when `stored` is out of range (the box's EN_CHANGE accepts it).
  void Init(HWND dialog, int32_t stored);

  // A WM_HSCROLL from the trackbar (IsSlider): writes the proposed value into the box.
  // False for codes that propose none.
  bool Scroll(HWND dialog, WPARAM wParam);
  bool IsSlider(LPARAM lParam) const;

  // A WM_COMMAND from control `id`: true when the box took a new text into the field
  // (the trackbar then follows, and the dialog redraws its preview). A text still being
  // typed is put back when the box loses the focus.
  bool OnCommand(HWND dialog, WORD id, WORD code);

  // Puts the accepted value back over any other text, such as one still being typed.
  void Settle(HWND dialog);

 private:
  TrackedValueControls controls;
  int32_t& accepted;
  NumberBox box;
  // Set by Init. A dialog whose preview could not be set up leaves the box as the
  // template has it, empty, and OK then writes no value.
  bool ready = false;
};
