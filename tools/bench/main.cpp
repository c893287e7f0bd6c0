// filter_bench: times each filter on each row path this processor has (tools/bench.sh),
// through PBF_Execute on a 4096 x 4096 image, against memcpy of the same 64 MiB
// measured in the same run.
//   filter_bench [REPETITIONS] [COMMAND]
// It links the module's own objects, so that it can force each path (the module does
// not export that); COMMAND is only echoed into the Markdown table it ends with. It
// runs with default settings: no settings file may lie next to it.
#include <cpuid.h>
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

namespace {

constexpr int32_t kSide = 4096;
constexpr size_t kBytes = size_t(kSide) * kSide * 4;
constexpr const char* kFilterNames[] = {"Solarization", "Posterization", "Cut Low Bit"};
constexpr int kFilters = 3;
constexpr int kPaths = int(sizeof kRowPaths / sizeof kRowPaths[0]);

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
uint8_t* NewImage() {
  auto* p = static_cast<uint8_t*>(VirtualAlloc(nullptr, kBytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (!p) {
    std::fprintf(stderr, "filter_bench: out of memory\n");
    std::exit(1);
  }
  std::memset(p, 0, kBytes);
  return p;
}

std::string ProcessorName() {
  unsigned words[12] = {};
  if (__get_cpuid_max(0x80000000u, nullptr) < 0x80000004u) return "an unnamed processor";
  for (unsigned i = 0; i < 3; ++i) {
    __get_cpuid(0x80000002u + i, &words[i * 4], &words[i * 4 + 1], &words[i * 4 + 2], &words[i * 4 + 3]);
  }
  std::string name(reinterpret_cast<const char*>(words), sizeof words);
  name = name.c_str();  // up to the first nul
  const size_t first = name.find_first_not_of(' ');
  return first == std::string::npos ? "an unnamed processor" : name.substr(first);
}

std::string SystemName() {
  using VersionFn = const char*(CDECL*)();
  const auto wineVersion = reinterpret_cast<VersionFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version")));
  return wineVersion ? std::string("Wine ") + wineVersion() : std::string("Windows");
}

struct Timings {
  std::vector<double> ms;
  double Best() const { return *std::min_element(ms.begin(), ms.end()); }
  double Median() const {
    std::vector<double> s = ms;
    std::sort(s.begin(), s.end());
    return s.size() % 2 ? s[s.size() / 2] : (s[s.size() / 2 - 1] + s[s.size() / 2]) / 2;
  }
};

// One filter over the whole image; false when it did not report every row.
bool Run(int filter, const uint8_t* source, uint8_t* destination, const PixelRegion& region,
         Timings* timings) {
  progressCalls = 0;
  const double t = Now();
  PBF_Execute(filter, nullptr, source, destination, 0, &region, 0, kSide, 0, &CountProgress, 0);
  const double elapsed = Now() - t;
  const int32_t expected = region.bottom - region.top + 2;
  if (progressCalls != expected) {
    std::fprintf(stderr, "filter_bench: %s reported %d times, not %d\n", kFilterNames[filter],
                 progressCalls, expected);
    return false;
  }
  if (timings) timings->ms.push_back(elapsed);
  return true;
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
  bool has[kPaths];
  std::printf("%s on %s; the module chooses %s\n", ProcessorName().c_str(), SystemName().c_str(),
              RowPathName(automatic));
  for (int p = 0; p < kPaths; ++p) {
    has[p] = HasRowPath(features, kRowPaths[p]);
    if (!has[p]) std::printf("%s path skipped: this processor lacks %s\n", RowPathName(kRowPaths[p]), RowPathName(kRowPaths[p]));
  }

  uint8_t* source = NewImage();
  uint8_t* destination = NewImage();
  uint8_t* inPlace = NewImage();
  uint32_t seed = 12345;
  for (size_t i = 0; i < kBytes; i += 4) {
    seed = seed * 1664525u + 1013904223u;
    std::memcpy(source + i, &seed, 4);
  }
  const PixelRegion whole{0, 0, kSide, kSide};
  // A one-pixel run measures what a call costs besides the pixels (reading settings).
  const PixelRegion onePixel{0, 0, 1, 1};

  // Rounds interleave every case, so that drifting machine load touches all alike.
  Timings copyTimes, separate[kPaths][kFilters], inside[kPaths][kFilters], overhead[kFilters];
  for (int round = -1; round < repetitions; ++round) {  // round -1 only warms up
    const bool keep = round >= 0;
    double t = Now();
    std::memcpy(destination, source, kBytes);
    if (keep) copyTimes.ms.push_back(Now() - t);
    for (int p = 0; p < kPaths; ++p) {
      if (!has[p]) continue;
      ForceRowPath(kRowPaths[p]);
      for (int f = 0; f < kFilters; ++f) {
        if (!Run(f, source, destination, whole, keep ? &separate[p][f] : nullptr)) return 1;
        std::memcpy(inPlace, source, kBytes);
        if (!Run(f, inPlace, inPlace, whole, keep ? &inside[p][f] : nullptr)) return 1;
      }
    }
    ForceRowPath(automatic);
    for (int f = 0; f < kFilters; ++f) {
      if (!Run(f, source, destination, onePixel, keep ? &overhead[f] : nullptr)) return 1;
    }
  }

  std::printf("4096 x 4096 BGRA (64 MiB), default settings, progress callback; median (best)\n"
              "of %d runs after one warm-up, and the ratio to memcpy of the same 64 MiB\n",
              repetitions);
  std::printf("  %-32s %8.2f ms (%6.2f)\n", "memcpy", copyTimes.Median(), copyTimes.Best());
  for (int p = kPaths - 1; p >= 0; --p) {
    if (!has[p]) continue;
    for (int f = 0; f < kFilters; ++f) {
      for (int mode = 0; mode < 2; ++mode) {
        const Timings& t = mode == 0 ? separate[p][f] : inside[p][f];
        const std::string label = std::string(RowPathName(kRowPaths[p])) + " " + kFilterNames[f] +
                                  (mode == 0 ? ", separate" : ", in place");
        std::printf("  %-32s %8.2f ms (%6.2f)  x%.2f (x%.2f)\n", label.c_str(), t.Median(), t.Best(),
                    t.Median() / copyTimes.Median(), t.Best() / copyTimes.Best());
      }
    }
  }
  for (int f = 0; f < kFilters; ++f) {
    const std::string label = std::string(kFilterNames[f]) + ", one pixel";
    std::printf("  %-32s %8.3f ms (%6.3f)\n", label.c_str(), overhead[f].Median(), overhead[f].Best());
  }

  // Ready to paste into the README.
  std::printf("\nMeasured by `%s` on %s under %s (medians of %d runs, as multiples of memcpy of "
              "the same 64 MiB in the same process):\n\n",
              command.c_str(), ProcessorName().c_str(), SystemName().c_str(), repetitions);
  std::printf("| Filter | Path | Separate | In place |\n|---|---|---|---|\n");
  std::printf("| memcpy | | %.2f ms | |\n", copyTimes.Median());
  for (int f = 0; f < kFilters; ++f) {
    for (int p = kPaths - 1; p >= 0; --p) {
      const char* path = RowPathName(kRowPaths[p]);
      if (!has[p]) {
        std::printf("| %s | %s | not on this processor | |\n", kFilterNames[f], path);
        continue;
      }
      std::printf("| %s | %s%s | x%.2f | x%.2f |\n", kFilterNames[f], path,
                  kRowPaths[p] == automatic ? " (chosen)" : "",
                  separate[p][f].Median() / copyTimes.Median(), inside[p][f].Median() / copyTimes.Median());
    }
  }
  return 0;
}
