// The benchmarks' rounds and ratios: a figure that counted a case's preparation (the
// in-place cases copy 64 MiB first) or the warm-up, or that held a case against the
// other limit, would mislead every reader of the table.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/bench/bench_rounds.h"

namespace {

double clockMs = 0;  // a fake clock that only the cases move
double Clock() { return clockMs; }

TEST(BenchRounds, KeepOnlyEachRunAfterTheWarmUpRound) {
  const uint8_t sweep[256] = {};
  std::vector<std::string> calls;
  Timings a, b;
  const std::vector<TimedCase> cases{
      {[&] { calls.push_back("prepare a"); clockMs += 1000; }, [&] { calls.push_back("a"); clockMs += 3; return true; }, &a},
      {nullptr, [&] { calls.push_back("b"); clockMs += 5; return true; }, &b}};
  ASSERT_TRUE(RunRounds(cases, 2, &Clock, sweep, sizeof sweep));
  EXPECT_EQ(calls, (std::vector<std::string>{"prepare a", "a", "b", "prepare a", "a", "b", "prepare a", "a", "b"}));
  EXPECT_EQ(a.ms, (std::vector<double>{3, 3}));
  EXPECT_EQ(b.ms, (std::vector<double>{5, 5}));

  Timings c;
  int runs = 0;
  EXPECT_FALSE(RunRounds({{nullptr, [&] { return ++runs < 2; }, &c}}, 5, &Clock, sweep, sizeof sweep));
  EXPECT_EQ(runs, 2);
}

TEST(BenchRounds, BestMedianAndRatiosToTheirOwnLimit) {
  const Timings odd{{3, 1, 2}}, even{{4, 1, 3, 2}}, limit{{2, 1, 1.5}};
  EXPECT_EQ(odd.Best(), 1);
  EXPECT_EQ(odd.Median(), 2);
  EXPECT_EQ(even.Median(), 2.5);
  EXPECT_EQ(Milliseconds(even), "1.00 (2.50)");
  // Best against best, median against median.
  EXPECT_EQ(TimesLimit(odd, limit), "x1.00 (x1.33)");
}

}  // namespace
