// One picture filtered from its input file into its output file, the way the host's
// menu runs a filter: the step that a run over one picture and a run over many share.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "ppihost/command_line.h"
#include "ppihost/image_file.h"
#include "ppihost/output_file.h"
#include "ppihost/plugin_module.h"
#include "ppihost/threads.h"

// PBF_Execute runs one call at a time: a plug-in need not be thread-safe. The count
// tells afterwards whether any picture reached the plug-in.
struct ExecuteCalls {
  CriticalSection lock;
  size_t made = 0;  // guarded by `lock`
};

// What every picture of one call shares.
struct FilterJob {
  const PluginModule& plugin;  // loaded once for the call
  const FilterEntry& filter;
  const std::optional<RegionOption>& region;
  bool unattended;             // the plug-in's message boxes printed, not shown
  bool manyPictures;           // one bar for the call, no bar per picture
  ExecuteCalls& calls;
};

// Filters `input` into `output` (checked already, named `outputName`). Returns kExitOk,
// or kExitDeclined when the plug-in reported an error; lines for the user (that one,
// warnings of what the output could not hold) go to `say`. `gate`, when given, decides
// when the pixels may be decoded. Throws HostError.
int FilterPicture(const FilterJob& job, const std::wstring& input, const std::wstring& outputName,
                  OutputFile& output, const std::function<void(const std::wstring&)>& say,
                  PixelGate* gate = nullptr);

// The filter's English name without the dots of its menu item.
std::wstring ShortName(const FilterEntry& filter);
