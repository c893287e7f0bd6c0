// A filter plug-in loaded the way the paint application loads one: LoadLibrary on the
// .ppi file, then its exports by name.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "base/host_interface.h"
#include "base/win32_handles.h"

// A plug-in's texts in the form English|Japanese, converted from code page 932.
struct FilterEntry {
  int32_t index;
  std::wstring category;
  std::wstring name;
};

class PluginModule {
 public:
  // Throws HostError (kExitPlugin) when the file is missing, does not load, or lacks
  // one of the four filter exports.
  explicit PluginModule(const std::wstring& path);
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  HMODULE Handle() const { return module; }
  const std::wstring& Path() const { return path; }

  // The maker's line; empty when the plug-in does not export PB_GetPluginInfo.
  std::wstring Info() const;
  std::vector<FilterEntry> Filters() const;

  PBF_ExecuteFn Execute = nullptr;
  PBF_SetupFn Setup = nullptr;

 private:
  std::wstring path;
  LoadedModule module;
  PB_GetPluginInfoFn getPluginInfo = nullptr;
  PBF_FilterCountFn filterCount = nullptr;
  PBF_GetNameFn getName = nullptr;
};

// A progress callback that shows nothing and never cancels: not every plug-in takes
// a null one.
int32_t HOST_CALL NoProgress(int32_t position, int32_t maximum, int32_t userData);

// A plug-in's narrow text: Shift-JIS (code page 932) whatever the system's code page.
std::wstring FromPluginText(const char* text);

// The part of an English|Japanese text before the bar, and the part after it (empty
// when there is no bar).
std::wstring EnglishForm(const std::wstring& text);
std::wstring JapaneseForm(const std::wstring& text);

// A filter's index, or a case-insensitive prefix of its English name (an exact name
// wins over longer names it begins). Throws HostError (kExitUsage) when nothing or more
// than one filter matches.
const FilterEntry& ChooseFilter(const std::vector<FilterEntry>& filters, const std::wstring& choice);
