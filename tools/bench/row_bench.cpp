// row_bench: the filters' rows on every path this processor has, in a native process
// (tools/row_bench.sh), against the machine's limit and the C runtime's memcpy. Each
// run walks the picture as the filters do (filters/region_walk.h, with a progress
// callback and the filters' choice of stores) with the default settings; what the
// module adds around that under Windows (PBF_Execute, reading the settings) is
// filter_bench's to time.
//   row_bench [REPETITIONS] [COMMAND]   COMMAND is only echoed above the table
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "filters/cut_low_bits_rows.h"
#include "filters/pixel_rules.h"
#include "filters/posterize_rows.h"
#include "filters/region_walk.h"
#include "filters/row_paths.h"
#include "filters/solarize_rows.h"
#include "settings/settings_records.h"
#include "tools/bench/bench_picture.h"

namespace {

double Now() {
  using namespace std::chrono;
  return duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
}

// Page-aligned and touched once, so that no run pays for page faults.
uint8_t* NewBuffer(size_t bytes) {
  auto* p = static_cast<uint8_t*>(std::aligned_alloc(4096, bytes));
  if (!p) {
    std::fprintf(stderr, "row_bench: out of memory\n");
    std::exit(1);
  }
  std::memset(p, 1, bytes);
  return p;
}

int32_t progressCalls = 0;
int32_t CountProgress(int32_t, int32_t, int32_t) {
  ++progressCalls;
  return 0;
}

// One filter with its default settings over `region`, walked as the filter walks it;
// false when it did not report every row.
bool RunRows(const FilterRows& rows, int filter, const uint8_t* source, uint8_t* destination,
             const PixelRegion& region) {
  const ProgressSink sink{0, &CountProgress};
  const RowStores stores = ChooseRowStores(source, destination, region);
  progressCalls = 0;
  switch (filter) {
    case 0: {
      const uint32_t threshold = ScaledThreshold(kDefaultThreshold);
      WalkRegion(source, destination, region, kSide, &sink,
                 [&](const uint8_t* src, uint8_t* dst, int32_t count) {
                   rows.solarize(src, dst, count, threshold, 0, stores);
                 });
      break;
    }
    case 1:
      WalkRegion(source, destination, region, kSide, &sink,
                 [&](const uint8_t* src, uint8_t* dst, int32_t count) {
                   rows.posterize(src, dst, count, kDefaultDivision, stores);
                 });
      break;
    default: {
      const uint8_t mask = LowBitMask[kDefaultLowBits];
      WalkRegion(source, destination, region, kSide, &sink,
                 [&](const uint8_t* src, uint8_t* dst, int32_t count) {
                   rows.cutLowBits(src, dst, count, mask, mask, mask, stores);
                 });
    }
  }
  return progressCalls == region.bottom - region.top;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string command = argc > 2 ? argv[2] : "row_bench " + std::to_string(repetitions);
  const CpuFeatures features = CpuidFeatures();
  const RowPath chosen = FastestRowPath(features);
  if (chosen == RowPath::kScalar) {
    std::fprintf(stderr, "row_bench: the limit needs SSE2, which this processor lacks\n");
    return 1;
  }
  LimitCases limits(features);
  const bool* const has = limits.has;

  const BenchPicture picture = NewBenchPicture(&NewBuffer);
  uint8_t* const source = picture.source;
  uint8_t* const destination = picture.destination;
  uint8_t* const inPlace = picture.inPlace;
  const PixelRegion whole{0, 0, kSide, kSide};
  const PixelRegion onePixel{0, 0, 1, 1};  // what a call costs besides the pixels
  const auto refill = [picture] { picture.Refill(); };

  Timings separate[kPaths][kFilters], inside[kPaths][kFilters], callCost[kFilters];
  std::vector<TimedCase> cases;
  limits.Add(cases, picture);
  for (int p = 0; p < kPaths; ++p) {
    if (!has[p]) continue;
    const FilterRows& rows = RowsOf(kRowPaths[p]);
    for (int f = 0; f < kFilters; ++f) {
      cases.push_back({nullptr, [&, f] { return RunRows(rows, f, source, destination, whole); },
                       &separate[p][f]});
      cases.push_back({refill, [&, f] { return RunRows(rows, f, inPlace, inPlace, whole); },
                       &inside[p][f]});
    }
  }
  for (int f = 0; f < kFilters; ++f) {
    cases.push_back({nullptr, [&, f] { return RunRows(RowsOf(chosen), f, source, destination, onePixel); },
                     &callCost[f]});
  }
  if (!RunRounds(cases, repetitions, &Now, picture.sweep, kSweepBytes)) {
    std::fprintf(stderr, "row_bench: a filter did not report every row\n");
    return 1;
  }

  std::printf("Measured by `%s` on %s (%u logical processors), in one native x86-64 Linux process of the row kernels "
              "(not PBF_Execute under Wine): 4096 x 4096 BGRA (64 MiB), page-aligned buffers, "
              "default settings, progress callback per row, caches cleared before each case; "
              "best (median) of %d rounds. The limit is the %s streaming copy for a separate "
              "destination and the %s load/xor/store pass in place; memcpy is glibc's.\n\n",
              command.c_str(), ProcessorName().c_str(), std::thread::hardware_concurrency(),
              repetitions, RowPathName(limits.widest), RowPathName(limits.widest));
  std::vector<TableLine> lines = limits.Lines("glibc");
  for (int f = 0; f < kFilters; ++f) {
    for (int p = kPaths - 1; p >= 0; --p) {
      if (!has[p]) continue;
      lines.push_back({kFilterNames[f],
                       std::string(RowPathName(kRowPaths[p])) + (kRowPaths[p] == chosen ? " (chosen)" : ""),
                       &separate[p][f], &inside[p][f]});
    }
  }
  PrintTable(limits.CopyLimit(), limits.InPlaceLimit(), lines);
  std::printf("\nOne pixel (the walk's cost besides the pixels), ms best (median):");
  for (int f = 0; f < kFilters; ++f) {
    std::printf("%s %s %.4f (%.4f)", f ? "," : "", kFilterNames[f], callCost[f].Best(),
                callCost[f].Median());
  }
  std::printf(".\n");
  return 0;
}
