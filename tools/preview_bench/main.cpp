// preview_bench: times one redraw of the zoomed preview (tools/preview_bench.sh): a
// 6000 x 4000 picture in a 200 x 180 pane at fit, through each filter's rows on the
// fastest path this processor has, and the same pane at 1:1 for comparison.
//   preview_bench [REPETITIONS]
// It runs the plug-in's platform-free render code, so it builds for the plug-in's
// 32-bit Windows and natively. The dialog's own part of a redraw (reading its controls,
// one StretchDIBits of the pane) is not in the figures.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "dialogs/filtered_preview.h"
#include "dialogs/preview_zoom.h"
#include "dialogs/zoomed_preview.h"
#include "filters/pixel_rules.h"
#include "tools/bench/bench_rounds.h"

namespace {

constexpr int32_t kWidth = 6000, kHeight = 4000, kPaneWidth = 200, kPaneHeight = 180;

#if defined(_WIN32)
constexpr const char* kProcess = "a 32-bit Windows process";
#elif defined(__x86_64__)
constexpr const char* kProcess = "a native x86-64 Linux process, not Wine";
#else
constexpr const char* kProcess = "a native process";
#endif

template <class Paint>
Timings Time(int repetitions, Paint paint) {
  Timings t;
  for (int round = -1; round < repetitions; ++round) {  // round -1 only warms up
    const auto start = std::chrono::steady_clock::now();
    paint();
    const std::chrono::duration<double, std::milli> elapsed = std::chrono::steady_clock::now() - start;
    if (round >= 0) t.ms.push_back(elapsed.count());
  }
  return t;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  // Colours and alpha varying everywhere, so that no pixel takes a short way; then the
  // same picture opaque.
  std::vector<uint8_t> image(size_t(kWidth) * kHeight * 4);
  uint32_t seed = 12345;
  for (size_t i = 0; i < image.size(); ++i) {
    seed = seed * 1664525u + 1013904223u;
    image[i] = uint8_t(seed >> 24);
  }
  const PaneSize pane{kPaneWidth, kPaneHeight}, imageSize{kWidth, kHeight};
  std::vector<uint32_t> buffer(size_t(kPaneWidth) * kPaneHeight);
  ZoomScratch scratch;
  if (!scratch.Allocate(kPaneWidth)) return 1;

  const RowPath path = FastestRowPath(CpuidFeatures());
  const FilterRows& rows = RowsOf(path);
  const int32_t fit = FitZoom(kWidth, kHeight, kPaneWidth, kPaneHeight);
  const AxisLayout h = LayoutZoomedAxis(kPaneWidth, kWidth, fit, 0);
  const AxisLayout v = LayoutZoomedAxis(kPaneHeight, kHeight, fit, 0);
  const struct {
    const char* name;
    RowRule rule;
  } filters[] = {
      {"Solarization", RowRule([&rows](const uint8_t* s, uint8_t* d, int32_t n) {
         rows.solarize(s, d, n, ScaledThreshold(230), 0, RowStores::kCached);
       })},
      {"Posterization", RowRule([&rows](const uint8_t* s, uint8_t* d, int32_t n) {
         rows.posterize(s, d, n, 8, RowStores::kCached);
       })},
      {"Cut Low Bit", RowRule([&rows](const uint8_t* s, uint8_t* d, int32_t n) {
         rows.cutLowBits(s, d, n, 0xFE, 0xFE, 0xFE, RowStores::kCached);
       })},
      {"preview off", RowRule()},
  };

  std::printf("preview_bench: one redraw of a %d x %d picture in a %d x %d pane, default settings,\n"
              "on %s, as %s; rows on the %s path.\nMedian (best) of %d redraws after one warm-up:\n",
              kWidth, kHeight, kPaneWidth, kPaneHeight, ProcessorName().c_str(), kProcess,
              RowPathName(path), repetitions);
  for (const char* picture : {"alpha varying", "opaque"}) {
    if (picture[0] == 'o') {
      for (size_t i = 3; i < image.size(); i += 4) image[i] = 255;  // as most photos are
    }
    for (const auto& f : filters) {
      const Timings t = Time(repetitions, [&] {
        ComposeZoomedPreview(buffer.data(), pane, {h.origin, v.origin}, {h.visible, v.visible},
                             {0, 0}, fit, image.data(), imageSize, f.rule, CheckerSumsRowOf(path), scratch);
      });
      std::printf("  %-14s at fit (1:%d), %-13s  %7.2f ms (%.2f)\n", f.name, fit, picture, t.Median(),
                  t.Best());
    }
  }
  // 1:1: the pane's pixels through the same rows, a piece of a row at a time.
  const Timings one = Time(repetitions, [&] {
    ComposeFilteredPreview(buffer.data(), {0, 0}, pane, pane, {0, 0}, image.data(), imageSize,
                           filters[1].rule);
  });
  std::printf("  %-14s at 1:1, %-22s  %7.3f ms (%.3f)\n", "Posterization", "opaque", one.Median(),
              one.Best());
  return 0;
}
