// ppihost's command line: a command, its positional arguments and the options.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "base/host_types.h"
#include "ppihost/setting.h"

// --region, read with the other options; whether it fits shows with each picture.
struct RegionOption {
  PixelRegion region;
  std::wstring text;  // as given, for messages
};

struct Arguments {
  std::wstring command;                  // list, run, setup, help or version
  std::vector<std::wstring> positional;  // after the command
  std::optional<RegionOption> region;    // --region LEFT,TOP,RIGHT,BOTTOM
  bool unattended = false;               // --batch: nobody to answer a dialog
  std::optional<std::wstring> settings;  // --settings FILE
  std::vector<Setting> overrides;        // --set SECTION.KEY=VALUE, in order
  bool keys = false;                     // list --keys
  // Many pictures per call: run PLUGIN FILTER INPUT... --out-dir DIR.
  std::optional<std::wstring> outDir;    // --out-dir DIR
  std::optional<std::wstring> format;    // --format png|bmp|jpeg|tiff
  int jobs = 0;                          // --jobs N or -j N; 0: one per processor
};

// The most threads of a run over many pictures. How many pictures are in flight at
// once is also held to what the address space has room for (batch_admission.h).
inline constexpr int kMaxJobs = 64;

std::wstring Usage();
// What --version prints: the name, version and copyright of the version resource.
std::wstring VersionText();

// Throws HostError (kExitUsage) on an unknown option, a missing option value, a --set
// that is not SECTION.KEY=VALUE or a --region that is not four whole numbers.
Arguments ParseArguments(int argc, wchar_t** argv);

// Whether the region lies inside a picture of that size:
// 0 <= left <= right <= width and 0 <= top <= bottom <= height.
bool Fits(const PixelRegion& region, int32_t width, int32_t height);

// Throws HostError (kExitUsage) unless there are exactly `count` positional arguments.
void ExpectPositional(const Arguments& args, size_t count);
