// The benchmarks' limits do the work they stand for: a copy that misses bytes, or a
// pass that skips some, would make a false limit that every filter seems to miss.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "filters/row_paths.h"
#include "tools/bench/limit_anchors.h"

namespace {

TEST(LimitAnchors, CopyEveryByteAndFlipEveryByteInPlace) {
  constexpr size_t kBytes = 64 * 67;  // not a power of two
  const auto free = [](uint8_t* p) { std::free(p); };
  std::unique_ptr<uint8_t, decltype(free)> src(static_cast<uint8_t*>(std::aligned_alloc(64, kBytes)), free);
  std::unique_ptr<uint8_t, decltype(free)> dst(static_cast<uint8_t*>(std::aligned_alloc(64, kBytes)), free);
  for (size_t i = 0; i < kBytes; ++i) src.get()[i] = uint8_t(i * 131 + 7);
  for (RowPath path : {RowPath::kSse2, RowPath::kAvx2}) {
    if (!HasRowPath(CpuidFeatures(), path)) continue;
    const LimitAnchors anchors = AnchorsOf(path);
    std::fill(dst.get(), dst.get() + kBytes, 0);
    anchors.copy(src.get(), dst.get(), kBytes);
    anchors.inPlace(dst.get(), kBytes);
    for (size_t i = 0; i < kBytes; ++i) {
      ASSERT_EQ(dst.get()[i], src.get()[i] ^ 1) << RowPathName(path) << " byte " << i;
    }
  }
  EXPECT_EQ(AnchorsOf(RowPath::kScalar).copy, nullptr);
}

}  // namespace
