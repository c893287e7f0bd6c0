// What both benchmarks run besides the filters: the picture and its buffers, and the
// cases and table lines of the machine's limits and of the C runtime's memcpy.
#pragma once
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "filters/row_paths.h"
#include "tools/bench/bench_rounds.h"
#include "tools/bench/limit_anchors.h"

constexpr int32_t kSide = 4096;
constexpr size_t kBytes = size_t(kSide) * kSide * 4;
// Larger than any last-level cache this runs on.
constexpr size_t kSweepBytes = size_t(256) << 20;
constexpr const char* kFilterNames[] = {"Solarization", "Posterization", "Cut Low Bit"};
constexpr int kFilters = 3;
constexpr int kPaths = int(sizeof kRowPaths / sizeof kRowPaths[0]);

struct BenchPicture {
  uint8_t* source;
  uint8_t* destination;
  uint8_t* inPlace;      // given the source again before each in-place case
  const uint8_t* sweep;  // read to clear the caches
  void Refill() const { std::memcpy(inPlace, source, kBytes); }
};

// `allocate` gives page-aligned memory, touched once so that no run pays for page
// faults. The source is noise, so that every rule's branches are taken alike.
inline BenchPicture NewBenchPicture(uint8_t* (*allocate)(size_t)) {
  const BenchPicture picture{allocate(kBytes), allocate(kBytes), allocate(kBytes),
                             allocate(kSweepBytes)};
  uint32_t seed = 12345;
  for (size_t i = 0; i < kBytes; i += 4) {
    seed = seed * 1664525u + 1013904223u;
    std::memcpy(picture.source + i, &seed, 4);
  }
  return picture;
}

// The streaming copy and the in-place pass on every SIMD path the processor has, the
// widest of them being the limit, and memcpy of the same bytes. The cases it adds
// refer to it: it must outlive them.
struct LimitCases {
  explicit LimitCases(const CpuFeatures& features) : widest(FastestRowPath(features)) {
    for (int p = 0; p < kPaths; ++p) has[p] = HasRowPath(features, kRowPaths[p]);
  }
  LimitCases(const LimitCases&) = delete;
  LimitCases& operator=(const LimitCases&) = delete;

  const Timings& CopyLimit() const { return copies[int(widest)]; }
  const Timings& InPlaceLimit() const { return passes[int(widest)]; }

  void Add(std::vector<TimedCase>& cases, const BenchPicture& picture) {
    cases.push_back({nullptr, [this, picture] {
                       std::memcpy(picture.destination, picture.source, kBytes);
                       return true;
                     }, &memcpyTimes});
    for (int p = 0; p < kPaths; ++p) {
      const LimitAnchors anchors = AnchorsOf(kRowPaths[p]);
      if (!has[p] || !anchors.copy) continue;
      cases.push_back({nullptr, [picture, anchors] {
                         anchors.copy(picture.source, picture.destination, kBytes);
                         return true;
                       }, &copies[p]});
      cases.push_back({[picture] { picture.Refill(); }, [picture, anchors] {
                         anchors.inPlace(picture.inPlace, kBytes);
                         return true;
                       }, &passes[p]});
    }
  }

  // The limit first, the narrower paths' anchors, then memcpy under `memcpyName`.
  std::vector<TableLine> Lines(const std::string& memcpyName) const {
    std::vector<TableLine> lines{
        {"limit: streaming copy, in-place pass", RowPathName(widest), &CopyLimit(), &InPlaceLimit()}};
    for (int p = int(widest) - 1; p >= 0; --p) {
      if (has[p] && AnchorsOf(kRowPaths[p]).copy) {
        lines.push_back({"streaming copy, in-place pass", RowPathName(kRowPaths[p]), &copies[p], &passes[p]});
      }
    }
    lines.push_back({"memcpy (" + memcpyName + ")", "", &memcpyTimes, nullptr});
    return lines;
  }

  const RowPath widest;  // kRowPaths is in RowPath order
  bool has[kPaths];
  Timings memcpyTimes, copies[kPaths], passes[kPaths];
};
