// The registry's start-up and tear-down, and the exception boundary of PBF_Setup,
// with filters made for the test.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/host_interface.h"
#include "plugin/filter_registry.h"
#include "resources/texts_cp932.h"
#include "support/host_log.h"
#include "ppihost/import_patch.h"

namespace {

int destroyed = 0;

class CountingFilter : public Filter {
 public:
  CountingFilter() : Filter("n", "c") {}
  ~CountingFilter() override { ++destroyed; }
};

template <class E>
class ThrowingFilter : public Filter {
 public:
  explicit ThrowingFilter(E e) : Filter("t", "c"), error(e) {}
  int Setup(HWND, const uint8_t*, int32_t, int32_t) override { throw error; }
  E error;
};

Filter* MakeCounting() { return new CountingFilter(); }
Filter* MakeNothing() { return nullptr; }

class Registry_ : public ::testing::Test {
 protected:
  void SetUp() override {
    destroyed = 0;
    CaptureMessageBoxes(GetModuleHandleA(nullptr));
    ClearHostEvents();
  }
  void TearDown() override { ASSERT_EQ(Registry->Init(nullptr), 1); }
};

TEST_F(Registry_, StartsWithTheThreeFiltersInOrder) {
  ASSERT_EQ(Registry->Init(nullptr), 1);
  ASSERT_EQ(Registry->Count(), 3);
  EXPECT_STREQ(Registry->Name(0), kSolarizationName);
  EXPECT_STREQ(Registry->Name(1), kPosterizationName);
  EXPECT_STREQ(Registry->Name(2), kCutLowBitName);
  for (int i = 0; i < 3; ++i) EXPECT_STREQ(Registry->Category(i), kColorCategory);
  ASSERT_EQ(Registry->Init(nullptr), 1);  // a second start-up replaces, never appends
  EXPECT_EQ(Registry->Count(), 3);
}

TEST_F(Registry_, RefusesToLoadWhenAFilterCannotBeCreated) {
  const FilterRegistry::Factory factories[] = {&MakeCounting, &MakeNothing, &MakeCounting};
  EXPECT_EQ(Registry->Init(nullptr, factories, 3), 0);
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(Registry->Count(), 0);
  EXPECT_EQ(Registry->At(0), nullptr);
  EXPECT_STREQ(Registry->Name(0), "");
}

TEST_F(Registry_, ClearDestroysEveryFilterOnce) {
  const FilterRegistry::Factory factories[] = {&MakeCounting, &MakeCounting};
  ASSERT_EQ(Registry->Init(nullptr, factories, 2), 1);
  Registry->Clear();
  EXPECT_EQ(destroyed, 2);
  EXPECT_EQ(Registry->Count(), 0);
}

std::string Expected(const std::string& detail) {
  return std::string(kSetupExceptionMessage) + "\n\n" + detail;
}

template <class E>
void ExpectSetupReports(E error, const std::string& detail) {
  static E theError = error;
  theError = error;
  const FilterRegistry::Factory factories[] = {
      [] { return static_cast<Filter*>(new ThrowingFilter<E>(theError)); }, &MakeCounting};
  ASSERT_EQ(Registry->Init(nullptr, factories, 2), 1);
  ClearHostEvents();
  const HWND parent = reinterpret_cast<HWND>(0x1234);
  EXPECT_EQ(PBF_Setup(0, parent, nullptr, 0, 0), 0);
  ASSERT_EQ(HostEvents().size(), 1u);
  const HostEvent& box = HostEvents()[0];
  EXPECT_EQ(box.kind, HostEvent::kMessageBox);
  EXPECT_EQ(box.owner, parent);
  EXPECT_EQ(box.caption, "exception");
  EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONERROR | MB_OK));
  EXPECT_EQ(box.text, Expected(detail));
  // The module stays usable.
  EXPECT_EQ(PBF_Setup(1, parent, nullptr, 0, 0), 1);
}

TEST_F(Registry_, SetupReportsAStandardException) {
  ExpectSetupReports(std::runtime_error("boom"), "boom");
}

TEST_F(Registry_, SetupReportsAnyOtherException) { ExpectSetupReports(42, "unknown exception"); }

TEST_F(Registry_, SetupShortensALongExceptionTextWithinItsBuffer) {
  // 454 bytes of what() fit the 512-byte buffer with the fixed text and separator.
  ExpectSetupReports(std::runtime_error(std::string(454, 'a')), std::string(454, 'a'));
  ExpectSetupReports(std::runtime_error(std::string(2000, 'b')), std::string(454, 'b'));
  // A double-byte character that would straddle the end is left out whole.
  const std::string kanji = "\x8A\xBF";  // 漢
  ExpectSetupReports(std::runtime_error(std::string(453, 'c') + kanji), std::string(453, 'c'));
}

}  // namespace
