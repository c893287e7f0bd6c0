// Which pictures of a run over many are worked on at once: sizes are taken relative to
// a 32-bit process's address space, so that nothing depends on this machine's memory.
#include <gtest/gtest.h>

#include <cmath>

#include "ppihost/picture_admission.h"

namespace {

using Verdict = PictureAdmission::Verdict;

constexpr uint64_t kAddressSpace = uint64_t{4} << 30;  // large-address-aware under 64-bit Windows
constexpr uint64_t kBudget = kAddressSpace - kAddressSpace / 8;

// A square RGB picture whose peak is about `share` of the budget.
Footprint Picture(double share) {
  const auto side = static_cast<uint32_t>(std::sqrt(share * kBudget / 16));
  return EstimateFootprint(side, side, 24);
}

TEST(PictureFootprint, CountsEveryBufferThatCanBeHeldAtOnce) {
  const uint64_t n = 9000ull * 9000;
  // RGB: the encoder's side (destination, its copy, the file twice) is the peak.
  const Footprint rgb = EstimateFootprint(9000, 9000, 24);
  EXPECT_EQ(rgb.least, 8 * n);
  EXPECT_EQ(rgb.peak, 16 * n);
  // A deep frame held decoded beside the converted pixels outweighs the rest.
  const Footprint deep = EstimateFootprint(9000, 9000, 128);
  EXPECT_EQ(deep.least, 20 * n);
  EXPECT_EQ(deep.peak, 20 * n);
}

TEST(PictureAdmission, PicturesThatFitAloneButNotTogetherTakeTurnsInOrder) {
  PictureAdmission admission(kBudget);
  const Footprint large = Picture(0.6), small = Picture(0.1);
  EXPECT_EQ(admission.Ask(0, large, false), Verdict::kStart);
  EXPECT_EQ(admission.Ask(1, small, false), Verdict::kStart);  // room beside it
  EXPECT_EQ(admission.Ask(2, large, false), Verdict::kWait);
  EXPECT_EQ(admission.Ask(3, small, false), Verdict::kWait);   // behind the one before it
  EXPECT_EQ(admission.InFlight(), 2u);
  EXPECT_TRUE(admission.End(1));  // shared its run
  EXPECT_EQ(admission.Ask(3, small, false), Verdict::kWait);
  EXPECT_EQ(admission.Ask(2, large, false), Verdict::kWait);
  EXPECT_TRUE(admission.End(0));
  EXPECT_EQ(admission.Ask(2, large, false), Verdict::kStart);
  EXPECT_EQ(admission.Ask(3, small, false), Verdict::kStart);
  EXPECT_TRUE(admission.End(2));
  EXPECT_TRUE(admission.End(3));
  EXPECT_EQ(admission.InFlight(), 0u);
}

TEST(PictureAdmission, APictureThatNeverFitsFailsAtOnceAndOneOverItsPeakRunsAlone) {
  PictureAdmission admission(kBudget);
  EXPECT_EQ(admission.Ask(0, Picture(0.3), false), Verdict::kStart);
  // Its pixels and the plug-in's destination alone exceed the budget.
  EXPECT_EQ(admission.Ask(1, Picture(2.1), false), Verdict::kNeverFits);
  // It keeps no place: the next one starts.
  EXPECT_EQ(admission.Ask(2, Picture(0.3), false), Verdict::kStart);
  // Fits only at less than its peak: waits for an empty batch and keeps others out.
  const Footprint tight = Picture(1.5);
  EXPECT_EQ(admission.Ask(3, tight, false), Verdict::kWait);
  admission.End(0);
  EXPECT_EQ(admission.Ask(3, tight, false), Verdict::kWait);
  admission.End(2);
  EXPECT_EQ(admission.Ask(3, tight, false), Verdict::kStart);
  EXPECT_EQ(admission.Ask(4, Picture(0.01), false), Verdict::kWait);
  EXPECT_FALSE(admission.End(3));
  EXPECT_EQ(admission.Ask(4, Picture(0.01), false), Verdict::kStart);
}

TEST(PictureAdmission, OnlyAFailureForLackOfMemoryBesideOthersIsTriedAgainAlone) {
  PictureAdmission admission(kBudget);
  const Footprint half = Picture(0.4);
  ASSERT_EQ(admission.Ask(0, half, false), Verdict::kStart);
  ASSERT_EQ(admission.Ask(1, half, false), Verdict::kStart);
  const bool shared = admission.End(1);
  EXPECT_TRUE(TryAgainAlone(true, shared));
  EXPECT_FALSE(TryAgainAlone(false, shared));  // an unreadable file stays unreadable
  // The retry waits for the other to end and keeps the rest out meanwhile.
  EXPECT_EQ(admission.Ask(1, {0, 0}, true), Verdict::kWait);
  EXPECT_EQ(admission.Ask(2, Picture(0.01), false), Verdict::kWait);
  EXPECT_TRUE(admission.End(0));
  EXPECT_EQ(admission.Ask(1, {0, 0}, true), Verdict::kStart);
  EXPECT_EQ(admission.Ask(2, Picture(0.01), false), Verdict::kWait);
  // Alone, its failure is its own.
  EXPECT_FALSE(TryAgainAlone(true, admission.End(1)));
  EXPECT_EQ(admission.Ask(2, Picture(0.01), false), Verdict::kStart);
  // One that failed before it asked (its decoder ran out) counts what is in flight.
  EXPECT_TRUE(admission.End(3));
  admission.End(2);
  EXPECT_FALSE(admission.End(3));
}

}  // namespace
