// How the text of a number box reads while the user is still typing in it: a complete
// number the dialog takes at once, a text on its way to one that is left as it is, or
// one that can never become valid and is put back. Platform-free; the text is the
// box's UTF-16.
#pragma once
#include <cstdint>
#include <string_view>

enum class TypedText {
  kAccepted,    // a number in range: taken at once
  kUnfinished,  // empty, or digits alone below the minimum: left as typed
  kRejected,    // past the maximum, negative, or no number: the last value goes back
  kZero,        // a bit count's box holding no number at all: counts as 0 and stays
};

struct TypedNumber {
  TypedText kind;
  int32_t value;  // the number taken (kAccepted, kZero); 0 otherwise
};

namespace typed_number_detail {

struct Decimal {
  bool read;      // an optional minus sign and one or more ASCII digits, nothing else
  int64_t value;  // saturated far past the 32-bit range, so a long text never wraps
};

inline Decimal ReadDecimal(std::wstring_view text) {
  const bool negative = !text.empty() && text.front() == L'-';
  if (negative) text.remove_prefix(1);
  if (text.empty()) return {false, 0};
  int64_t magnitude = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return {false, 0};
    if (magnitude <= INT32_MAX) magnitude = magnitude * 10 + (c - L'0');
  }
  return {true, negative ? -magnitude : magnitude};
}

}  // namespace typed_number_detail

// A number from `minimum` to `maximum` (the threshold, the level count). Only the
// user's typing can be unfinished: the dialog's own writes (`ownWrite`: the opening
// value, the trackbar's steps, a restore) are complete and held to the range at once.
inline TypedNumber ReadTypedNumber(std::wstring_view text, int32_t minimum, int32_t maximum,
                                   bool ownWrite) {
  const typed_number_detail::Decimal d = typed_number_detail::ReadDecimal(text);
  if (d.read && d.value >= minimum && d.value <= maximum) {
    return {TypedText::kAccepted, static_cast<int32_t>(d.value)};
  }
  // More digits can still make "1" a level count; nothing makes "-1" or "300" one.
  const bool onItsWay = text.empty() || (d.read && text.front() != L'-' && d.value < minimum);
  return {onItsWay && !ownWrite ? TypedText::kUnfinished : TypedText::kRejected, 0};
}

// A bit count from 0 to `maximum`: a text that reads as no number, empty included,
// counts as 0 and stays in its box; a negative count or one past the maximum is put
// back.
inline TypedNumber ReadTypedBitCount(std::wstring_view text, int32_t maximum) {
  const typed_number_detail::Decimal d = typed_number_detail::ReadDecimal(text);
  if (!d.read) return {TypedText::kZero, 0};
  if (d.value >= 0 && d.value <= maximum) return {TypedText::kAccepted, static_cast<int32_t>(d.value)};
  return {TypedText::kRejected, 0};
}
