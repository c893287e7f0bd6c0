// An integer setting held in an edit box, with an up-down and a trackbar that only
// write numbers into the box. The box is the single source of truth: its EN_CHANGE
// (sent synchronously, also for the dialog's own writes) accepts a value in range or
// puts the last accepted one back.
#pragma once
#include <windows.h>

#include <cstdint>

#include "dialogs/trackbar_steps.h"

struct TrackedValueControls {
  int edit, spin, slider;
  TrackbarRange range;
};

// Sets the up-down's and the trackbar's ranges, then writes `stored` into the box, or
// `accepted` when `stored` is out of range (the box's EN_CHANGE accepts it).
void InitTrackedValue(HWND dialog, const TrackedValueControls& controls, int32_t stored,
                      int32_t accepted);

// A WM_HSCROLL from the trackbar: writes the proposed value into the box. False for
// codes that propose none.
bool ScrollTrackedValue(HWND dialog, const TrackedValueControls& controls, WPARAM wParam,
                        int32_t accepted);

// The box's EN_CHANGE: true when its text was accepted into `accepted` (the trackbar
// then follows); otherwise `accepted` is written back, whose nested EN_CHANGE accepts it.
bool AcceptTrackedValue(HWND dialog, const TrackedValueControls& controls, int32_t& accepted);

// The value to preview: the box's, or `accepted` should the box not hold one in range.
int32_t PreviewTrackedValue(HWND dialog, const TrackedValueControls& controls, int32_t accepted);

// Whether a WM_HSCROLL comes from this value's trackbar.
bool IsTrackedSlider(const TrackedValueControls& controls, LPARAM lParam);
