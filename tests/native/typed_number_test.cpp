#include <gtest/gtest.h>

#include "dialogs/typed_number.h"

namespace {

constexpr TypedText kOk = TypedText::kAccepted, kWait = TypedText::kUnfinished,
                    kBack = TypedText::kRejected, kZero = TypedText::kZero;

struct Case {
  const wchar_t* text;
  int32_t minimum, maximum;  // 0..7 stands for a bit count
  TypedText typed, own;      // as the user typed it, as the dialog wrote it
  int32_t value;
};

constexpr Case kCases[] = {
    // Level counts: more digits can still make "1" or "01" one.
    {L"", 2, 255, kWait, kBack, 0},     {L"1", 2, 255, kWait, kBack, 0},  {L"01", 2, 255, kWait, kBack, 0},
    {L"2", 2, 255, kOk, kOk, 2},        {L"016", 2, 255, kOk, kOk, 16},   {L"256", 2, 255, kBack, kBack, 0},
    {L"-1", 2, 255, kBack, kBack, 0},   {L"-0", 2, 255, kBack, kBack, 0}, {L"1a", 2, 255, kBack, kBack, 0},
    {L"+16", 2, 255, kBack, kBack, 0},  {L"\xFF11\xFF16", 2, 255, kBack, kBack, 0},  // full-width 16
    {L"4294967298", 2, 255, kBack, kBack, 0},  // 2, were it wrapped to 32 bits
    {L"0000000000000000000000016", 2, 255, kOk, kOk, 16},
    // Thresholds: only an empty box is on its way to one.
    {L"", 0, 255, kWait, kBack, 0},     {L"0", 0, 255, kOk, kOk, 0},      {L"-3", 0, 255, kBack, kBack, 0},
    // Bit counts: no number at all counts as 0; a number outside 0..7 goes back.
    {L"", 0, 7, kZero, kZero, 0},       {L"-", 0, 7, kZero, kZero, 0},    {L"7", 0, 7, kOk, kOk, 7},
    {L"8", 0, 7, kBack, kBack, 0},      {L"-2", 0, 7, kBack, kBack, 0},
};

TEST(TypedNumber, ReadsEachTextAsTheDialogTreatsIt) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(testing::Message() << "case " << (&c - kCases));
    const bool bits = c.maximum == 7;
    const TypedNumber typed =
        bits ? ReadTypedBitCount(c.text, 7) : ReadTypedNumber(c.text, c.minimum, c.maximum, false);
    EXPECT_EQ(typed.kind, c.typed);
    EXPECT_EQ(typed.value, c.value);
    if (!bits) {
      EXPECT_EQ(ReadTypedNumber(c.text, c.minimum, c.maximum, true).kind, c.own);
    }
  }
}

}  // namespace
