// filter_bench: times each filter of a .ppi plug-in through PBF_Execute on a 4096 x 4096
// image and compares it with memcpy of the same 64 MiB, measured in the same run.
//   filter_bench [PLUGIN] [REPETITIONS]
// The plug-in (default: zuzovezu.ppi next to this program) is copied into a fresh
// temporary folder first, so it runs with its default settings.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/host_interface.h"

namespace {

using Region = PixelRegion;
using ProgressFn = ProgressCallback;
using ExecuteFn = PBF_ExecuteFn;

constexpr int32_t kSide = 4096;
constexpr size_t kBytes = size_t(kSide) * kSide * 4;
constexpr const char* kFilterNames[] = {"Solarization", "Posterization", "Cut Low Bit"};
constexpr int kFilters = 3;

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

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
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

}  // namespace

int main(int argc, char** argv) {
  const std::string plugin = argc > 1 ? argv[1] : ProgramFolder() + "zuzovezu.ppi";
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;

  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "zuzovezu-bench-" + std::to_string(GetCurrentProcessId()) + "\\";
  const std::string copy = folder + "zuzovezu.ppi";
  CreateDirectoryA(folder.c_str(), nullptr);
  if (!CopyFileA(plugin.c_str(), copy.c_str(), FALSE)) {
    std::fprintf(stderr, "filter_bench: cannot copy %s\n", plugin.c_str());
    return 1;
  }
  HMODULE module = LoadLibraryA(copy.c_str());
  auto execute = module ? reinterpret_cast<ExecuteFn>(reinterpret_cast<void*>(GetProcAddress(module, "PBF_Execute"))) : nullptr;
  if (!execute) {
    std::fprintf(stderr, "filter_bench: %s is not a filter plug-in\n", plugin.c_str());
    return 1;
  }

  uint8_t* source = NewImage();
  uint8_t* destination = NewImage();
  uint8_t* inPlace = NewImage();
  uint32_t seed = 12345;
  for (size_t i = 0; i < kBytes; i += 4) {
    seed = seed * 1664525u + 1013904223u;
    std::memcpy(source + i, &seed, 4);
  }
  const Region whole{0, 0, kSide, kSide};

  // Rounds interleave every case, so that drifting machine load touches all alike.
  // A one-pixel run measures what a call costs besides the pixels (reading settings).
  const Region onePixel{0, 0, 1, 1};
  Timings copyTimes, separate[kFilters], inside[kFilters], overhead[kFilters];
  for (int round = -1; round < repetitions; ++round) {  // round -1 only warms up
    double t = Now();
    std::memcpy(destination, source, kBytes);
    if (round >= 0) copyTimes.ms.push_back(Now() - t);
    for (int f = 0; f < kFilters; ++f) {
      progressCalls = 0;
      t = Now();
      execute(f, nullptr, source, destination, 0, &whole, 0, kSide, 0, &CountProgress, 0);
      const double elapsed = Now() - t;
      if (progressCalls != kSide + 2) {
        std::fprintf(stderr, "filter_bench: %s reported %d times, not %d\n", kFilterNames[f],
                     progressCalls, kSide + 2);
        return 1;
      }
      if (round >= 0) separate[f].ms.push_back(elapsed);

      std::memcpy(inPlace, source, kBytes);
      t = Now();
      execute(f, nullptr, inPlace, inPlace, 0, &whole, 0, kSide, 0, &CountProgress, 0);
      if (round >= 0) inside[f].ms.push_back(Now() - t);

      t = Now();
      execute(f, nullptr, source, destination, 0, &onePixel, 0, kSide, 0, &CountProgress, 0);
      if (round >= 0) overhead[f].ms.push_back(Now() - t);
    }
  }

  std::printf("%s, 4096 x 4096 BGRA (64 MiB), default settings, progress callback;\n"
              "median (best) of %d runs after one warm-up, ratio to memcpy of the same 64 MiB\n",
              plugin.c_str(), repetitions);
  std::printf("  %-24s %8.2f ms (%6.2f)\n", "memcpy", copyTimes.Median(), copyTimes.Best());
  for (int f = 0; f < kFilters; ++f) {
    for (int mode = 0; mode < 2; ++mode) {
      const Timings& t = mode == 0 ? separate[f] : inside[f];
      const std::string label = std::string(kFilterNames[f]) + (mode == 0 ? ", separate" : ", in place");
      std::printf("  %-24s %8.2f ms (%6.2f)  x%.2f (x%.2f)\n", label.c_str(), t.Median(), t.Best(),
                  t.Median() / copyTimes.Median(), t.Best() / copyTimes.Best());
    }
  }
  for (int f = 0; f < kFilters; ++f) {
    const std::string label = std::string(kFilterNames[f]) + ", one pixel";
    std::printf("  %-24s %8.3f ms (%6.3f)\n", label.c_str(), overhead[f].Median(), overhead[f].Best());
  }

  FreeLibrary(module);
  DeleteFileA(copy.c_str());
  RemoveDirectoryA(folder.c_str());
  return 0;
}
