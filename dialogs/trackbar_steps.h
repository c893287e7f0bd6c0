// What a trackbar's scroll codes propose to the edit box that holds the value.
// Platform-free: the codes are the trackbar's TB_* values.
#pragma once
#include <cstdint>

struct TrackbarRange {
  int32_t minimum, maximum, page;
};

// The value proposed for `code` from the last accepted `current`, or false for codes
// that propose none (end of tracking and the like). Line steps are not clamped (the box
// rejects a value past an end and keeps `current`); page steps are; Home (TB_TOP) goes
// to the maximum and End (TB_BOTTOM) to the minimum; the thumb's position is a signed
// 16-bit number.
inline bool TrackbarProposal(uint32_t code, uint16_t thumb, int32_t current,
                             const TrackbarRange& range, int32_t* proposed) {
  enum : uint32_t { kLineUp, kLineDown, kPageUp, kPageDown, kThumbPosition, kThumbTrack, kTop, kBottom };
  switch (code) {
    case kLineUp: *proposed = current - 1; return true;
    case kLineDown: *proposed = current + 1; return true;
    case kPageUp:
      *proposed = current - range.page < range.minimum ? range.minimum : current - range.page;
      return true;
    case kPageDown:
      *proposed = current + range.page > range.maximum ? range.maximum : current + range.page;
      return true;
    case kThumbPosition:
    case kThumbTrack: *proposed = static_cast<int16_t>(thumb); return true;
    case kTop: *proposed = range.maximum; return true;
    case kBottom: *proposed = range.minimum; return true;
    default: return false;
  }
}
