// What both benchmarks share: cases timed in interleaved rounds with the caches
// cleared before each, and the table that holds every case against the machine's
// limit (tools/bench/limit_anchors.h). Best-of ratios lead, since a shared machine's
// noise only ever adds time; medians follow in parentheses.
#pragma once
#include <cpuid.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// As cpuid gives it, without the padding some processors put around it.
inline std::string ProcessorName() {
  unsigned words[12] = {};
  if (__get_cpuid_max(0x80000000u, nullptr) < 0x80000004u) return "an unnamed processor";
  for (unsigned i = 0; i < 3; ++i) {
    __get_cpuid(0x80000002u + i, &words[i * 4], &words[i * 4 + 1], &words[i * 4 + 2], &words[i * 4 + 3]);
  }
  std::string name(reinterpret_cast<const char*>(words), sizeof words);
  name = name.c_str();  // up to the first nul
  const size_t first = name.find_first_not_of(' ');
  if (first == std::string::npos) return "an unnamed processor";
  return name.substr(first, name.find_last_not_of(' ') + 1 - first);
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

struct TimedCase {
  std::function<void()> prepare;  // untimed, before the caches are cleared
  std::function<bool()> run;      // false stops the benchmark
  Timings* timings;
};

// Reading a buffer larger than the last-level cache leaves in it only clean lines of
// that buffer, which the next case evicts for free (writing would leave dirty lines
// that the next case pays to write back).
inline void ClearCaches(const uint8_t* sweep, size_t bytes) {
  volatile uint32_t sink = 0;
  uint32_t sum = 0;
  for (size_t i = 0; i < bytes; i += 64) sum += sweep[i];
  sink = sum;
  (void)sink;
}

// Round -1 warms up and is not kept; every round runs every case, so that drifting
// load on the machine touches all alike.
inline bool RunRounds(const std::vector<TimedCase>& cases, int repetitions, double (*now)(),
                      const uint8_t* sweep, size_t sweepBytes) {
  for (int round = -1; round < repetitions; ++round) {
    for (const TimedCase& c : cases) {
      if (c.prepare) c.prepare();
      ClearCaches(sweep, sweepBytes);
      const double t = now();
      if (!c.run()) return false;
      const double elapsed = now() - t;
      if (round >= 0) c.timings->ms.push_back(elapsed);
    }
  }
  return true;
}

// "3.20 (3.31)": best, then median.
inline std::string Milliseconds(const Timings& t) {
  char text[48];
  std::snprintf(text, sizeof text, "%.2f (%.2f)", t.Best(), t.Median());
  return text;
}

inline std::string TimesLimit(const Timings& t, const Timings& limit) {
  char text[48];
  std::snprintf(text, sizeof text, "x%.2f (x%.2f)", t.Best() / limit.Best(),
                t.Median() / limit.Median());
  return text;
}

// One line of the table: a case timed with a separate destination and in place (either
// may be missing).
struct TableLine {
  std::string name, path;
  const Timings* separate;
  const Timings* inPlace;
};

inline void PrintTable(const Timings& copyLimit, const Timings& inPlaceLimit,
                       const std::vector<TableLine>& lines) {
  std::printf("| Case | Path | Separate, ms | x limit | In place, ms | x limit |\n"
              "|---|---|---|---|---|---|\n");
  for (const TableLine& l : lines) {
    std::printf("| %s | %s | %s | %s | %s | %s |\n", l.name.c_str(), l.path.c_str(),
                l.separate ? Milliseconds(*l.separate).c_str() : "",
                l.separate ? TimesLimit(*l.separate, copyLimit).c_str() : "",
                l.inPlace ? Milliseconds(*l.inPlace).c_str() : "",
                l.inPlace ? TimesLimit(*l.inPlace, inPlaceLimit).c_str() : "");
  }
}
