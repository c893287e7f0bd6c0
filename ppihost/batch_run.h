// ppihost run PLUGIN FILTER INPUT... --out-dir DIR [--format ...] [--jobs N]: one
// filter over many pictures, each written to DIR under its input's base name. Several
// pictures are read, converted and written at once, while the plug-in runs one call at
// a time. Each picture succeeds or fails on its own: a failure is said in one line that
// names its file and the rest go on; a summary line ends the run.
#pragma once
#include <string>
#include <vector>

#include "ppihost/command_line.h"
#include "ppihost/picture_run.h"

struct BatchPicture {
  std::wstring input;
  std::wstring output;
};

// The pictures of the call, its patterns expanded. Before any work, refuses two
// inputs that would write one output (kExitUsage) and an output folder that cannot be
// written or a format that cannot (kExitOutput). Throws HostError.
std::vector<BatchPicture> PlanBatch(const Arguments& args);

// Filters every picture with `jobs` threads (0: one per processor) and returns the
// exit code of the first picture, in the order given, that failed.
int RunBatch(const FilterJob& job, const std::vector<BatchPicture>& pictures, int jobs);
