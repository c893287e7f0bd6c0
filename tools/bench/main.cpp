// filter_bench: times each filter on each row path this processor has (tools/bench.sh),
// through PBF_Execute on a 4096 x 4096 image, against the machine's limit measured in
// the same process (tools/bench/limit_anchors.h), with the C runtime's memcpy beside it.
//   filter_bench [REPETITIONS] [COMMAND]
// It links the module's own objects, so that it can force each path (the module does
// not export that); COMMAND is only echoed into the Markdown table it ends with. It
// runs with default settings: no settings file may lie next to it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/host_interface.h"
#include "filters/active_rows.h"
#include "plugin/filter_registry.h"
#include "settings/settings_file.h"
#include "tools/bench/bench_picture.h"

namespace {

int32_t progressCalls = 0;
int32_t WINAPI CountProgress(int32_t, int32_t, int32_t) {
  ++progressCalls;
  return 0;
}

double Now() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER t;
  QueryPerformanceCounter(&t);
  return double(t.QuadPart) * 1000.0 / double(frequency.QuadPart);
}

// A buffer of its own pages, touched once so that no run pays for page faults.
uint8_t* NewBuffer(size_t bytes) {
  auto* p = static_cast<uint8_t*>(VirtualAlloc(nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!p) {
    std::fprintf(stderr, "filter_bench: out of memory\n");
    std::exit(1);
  }
  std::memset(p, 1, bytes);
  return p;
}

std::string SystemName() {
  using VersionFn = const char*(CDECL*)();
  const auto wineVersion = reinterpret_cast<VersionFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
  return wineVersion ? std::string("Wine ") + wineVersion() : std::string("Windows");
}

// One filter over `region`; false when it did not report every row.
bool Run(int filter, const uint8_t* source, uint8_t* destination, const PixelRegion& region) {
  progressCalls = 0;
  PBF_Execute(filter, nullptr, source, destination, 0, &region, 0, kSide, 0, &CountProgress, 0);
  const int32_t expected = region.bottom - region.top + 2;
  if (progressCalls == expected) return true;
  std::fprintf(stderr, "filter_bench: %s reported %d times, not %d\n", kFilterNames[filter],
               progressCalls, expected);
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  const int repetitions = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
  const std::string command = argc > 2 ? argv[2] : "filter_bench " + std::to_string(repetitions);

  if (!Registry->Init(nullptr)) {
    std::fprintf(stderr, "filter_bench: the filters could not be created\n");
    return 1;
  }
  const std::wstring settings = SettingsPath();
  if (GetFileAttributesW(settings.c_str()) != INVALID_FILE_ATTRIBUTES) {
    std::fprintf(stderr, "filter_bench: %ls exists; the figures are for default settings\n",
                 settings.c_str());
    return 1;
  }

  const CpuFeatures features = ProcessorFeatures();
  const RowPath automatic = ActiveRowPath();
  if (FastestRowPath(features) == RowPath::kScalar) {
    std::fprintf(stderr, "filter_bench: the limit needs SSE2, which this processor lacks\n");
    return 1;
  }
  LimitCases limits(features);
  const bool* const has = limits.has;
  std::printf("%s on %s; the module chooses %s\n", ProcessorName().c_str(), SystemName().c_str(),
              RowPathName(automatic));
  for (int p = 0; p < kPaths; ++p) {
    if (!has[p]) std::printf("%s path skipped: this processor lacks %s\n", RowPathName(kRowPaths[p]), RowPathName(kRowPaths[p]));
  }

  const BenchPicture picture = NewBenchPicture(&NewBuffer);
  uint8_t* const source = picture.source;
  uint8_t* const destination = picture.destination;
  uint8_t* const inPlace = picture.inPlace;
  const PixelRegion whole{0, 0, kSide, kSide};
  // A one-pixel run measures what a call costs besides the pixels (reading settings).
  const PixelRegion onePixel{0, 0, 1, 1};
  const auto refill = [picture] { picture.Refill(); };

  Timings separate[kPaths][kFilters], inside[kPaths][kFilters], callCost[kFilters],
      settingsCost[kFilters];
  std::vector<TimedCase> cases;
  limits.Add(cases, picture);
  for (int p = 0; p < kPaths; ++p) {
    if (!has[p]) continue;
    const auto force = [p] { ForceRowPath(kRowPaths[p]); };
    for (int f = 0; f < kFilters; ++f) {
      cases.push_back({force, [&, f] { return Run(f, source, destination, whole); }, &separate[p][f]});
      cases.push_back({[&, force] { force(); refill(); }, [&, f] { return Run(f, inPlace, inPlace, whole); },
                       &inside[p][f]});
    }
  }
  for (int f = 0; f < kFilters; ++f) {
    cases.push_back({[automatic] { ForceRowPath(automatic); },
                     [&, f] { return Run(f, source, destination, onePixel); }, &callCost[f]});
  }
  // The part of that cost which is the settings' reading, as each call does it.
  volatile int32_t readValue = 0;
  cases.push_back({nullptr, [&] { readValue = ReadSolarizationSettings().threshold; return true; }, &settingsCost[0]});
  cases.push_back({nullptr, [&] { readValue = ReadPosterizationSettings().division; return true; }, &settingsCost[1]});
  cases.push_back({nullptr, [&] { readValue = ReadCutLowBitSettings().rmask; return true; }, &settingsCost[2]});
  if (!RunRounds(cases, repetitions, &Now, picture.sweep, kSweepBytes)) return 1;
  ForceRowPath(automatic);

  // Ready to paste into docs/performance.md.
  std::printf("\nMeasured by `%s` on %s under %s: 4096 x 4096 BGRA (64 MiB), page-aligned "
              "buffers, PBF_Execute with default settings (no settings file) and a progress "
              "callback, caches cleared before each case; best (median) of %d rounds. The "
              "limit is the %s streaming copy for a separate destination and the %s "
              "load/xor/store pass in place; memcpy is the C runtime's (msvcrt.dll%s).\n\n",
              command.c_str(), ProcessorName().c_str(), SystemName().c_str(), repetitions,
              RowPathName(limits.widest), RowPathName(limits.widest),
              SystemName() == "Windows" ? "" : ", Wine's own");
  std::vector<TableLine> lines = limits.Lines("msvcrt");
  for (int f = 0; f < kFilters; ++f) {
    for (int p = kPaths - 1; p >= 0; --p) {
      const std::string path = RowPathName(kRowPaths[p]);
      if (!has[p]) {
        lines.push_back({kFilterNames[f], path + ": not on this processor", nullptr, nullptr});
        continue;
      }
      lines.push_back({kFilterNames[f], path + (kRowPaths[p] == automatic ? " (chosen)" : ""),
                       &separate[p][f], &inside[p][f]});
    }
  }
  PrintTable(limits.CopyLimit(), limits.InPlaceLimit(), lines);
  std::printf("\nOne pixel (what a call costs besides the pixels, mostly reading the settings), "
              "ms best (median):");
  for (int f = 0; f < kFilters; ++f) {
    std::printf("%s %s %.3f (%.3f)", f ? "," : "", kFilterNames[f], callCost[f].Best(),
                callCost[f].Median());
  }
  std::printf(".\nOf which reading the settings (3, 2 and 5 keys), ms best (median):");
  for (int f = 0; f < kFilters; ++f) {
    std::printf("%s %s %.3f (%.3f)", f ? "," : "", kFilterNames[f], settingsCost[f].Best(),
                settingsCost[f].Median());
  }
  std::printf(".\n");
  return 0;
}
