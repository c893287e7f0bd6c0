// ppihost's command line: a command, its positional arguments and the options.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/host_types.h"
#include "ppihost/setting.h"

struct Arguments {
  std::wstring command;                  // list, run, setup or help
  std::vector<std::wstring> positional;  // after the command
  std::optional<std::wstring> region;    // --region LEFT,TOP,RIGHT,BOTTOM
  bool unattended = false;               // --batch: nobody to answer a dialog
  std::optional<std::wstring> settings;  // --settings FILE
  std::vector<Setting> overrides;        // --set SECTION.KEY=VALUE, in order
  bool keys = false;                     // list --keys
  // Many pictures per call: run PLUGIN FILTER INPUT... --out-dir DIR.
  std::optional<std::wstring> outDir;    // --out-dir DIR
  std::optional<std::wstring> format;    // --format png|bmp|jpeg|tiff
  int jobs = 0;                          // --jobs N or -j N; 0: one per processor
};

// The most pictures worked on at once: each holds its pixels two or three times over
// in a 32-bit program's memory.
inline constexpr int kMaxJobs = 64;

extern const wchar_t kUsage[];

// Throws HostError (kExitUsage) on an unknown option, a missing option value or a --set
// that is not SECTION.KEY=VALUE.
Arguments ParseArguments(int argc, wchar_t** argv);

// "LEFT,TOP,RIGHT,BOTTOM" in pixels; the region must lie inside the image
// (0 <= left <= right <= width, 0 <= top <= bottom <= height). Throws HostError (kExitUsage).
PixelRegion ParseRegion(const std::wstring& text, int32_t width, int32_t height);

// Throws HostError (kExitUsage) unless there are exactly `count` positional arguments.
void ExpectPositional(const Arguments& args, size_t count);
