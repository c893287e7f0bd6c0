// The error path of a filter: the host is told first, then the user.
#include <gtest/gtest.h>

#include "filters/filter_error.h"
#include "resources/texts_cp932.h"
#include "support/host_log.h"

namespace {

class FilterErrors : public ::testing::Test {
 protected:
  void SetUp() override {
    CaptureMessageBoxes(GetModuleHandleA(nullptr));
    ClearHostEvents();
  }
};

TEST_F(FilterErrors, QueriesTheHostThenShowsOneErrorBox) {
  const HWND window = reinterpret_cast<HWND>(0x4321);
  ReportFilterError(window, kInvalidSettingsMessage);
  EXPECT_TRUE(FilterErrorReported(window, kInvalidSettingsMessage));
}

TEST_F(FilterErrors, WithoutTextOnlyTheHostIsTold) {
  ReportFilterError(nullptr, nullptr);
  ASSERT_EQ(HostEvents().size(), 1u);
  EXPECT_EQ(HostEvents()[0].kind, HostEvent::kQuery);
}

TEST_F(FilterErrors, HostQueryReturnsTheHostsAnswer) {
  SetHostQueryResult(77);
  EXPECT_EQ(CallHostQuery(9, 3), 77);
  SetHostQueryResult(0);
  ASSERT_EQ(HostEvents().size(), 1u);
  EXPECT_EQ(HostEvents()[0].code, 9);
  EXPECT_EQ(HostEvents()[0].argument, 3);
}

}  // namespace
