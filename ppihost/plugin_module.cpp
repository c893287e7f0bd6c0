#include "ppihost/plugin_module.h"

#include <algorithm>

#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/file_handle.h"
#include "ppihost/host_error.h"
#include "ppihost/path_names.h"
#include "ppihost/system_message.h"
#include "ppihost/whole_number.h"

namespace {

// Texts of the host's plug-in interface fit in 38 bytes; the rest is headroom.
constexpr int32_t kTextBufferSize = 256;
constexpr int32_t kMaxFilters = 1000;

FARPROC FindExport(HMODULE module, const char* plain, const char* decorated) {
  FARPROC found = GetProcAddress(module, plain);
  return found ? found : GetProcAddress(module, decorated);
}

template <class Fn>
Fn As(FARPROC address) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(address));
}

// Why the file cannot be a 32-bit plug-in, or empty when its headers say it can. Checked
// before loading, since the loader's own errors for such files are vague.
std::wstring ImageProblem(const std::wstring& path) {
  FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return SystemMessage(GetLastError());
  IMAGE_DOS_HEADER dos{};
  IMAGE_NT_HEADERS32 nt{};
  DWORD read = 0;
  bool ok = ReadFile(file.Get(), &dos, sizeof dos, &read, nullptr) && read == sizeof dos &&
            dos.e_magic == IMAGE_DOS_SIGNATURE && dos.e_lfanew > 0;
  ok = ok &&
       SetFilePointer(file.Get(), dos.e_lfanew, nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER &&
       ReadFile(file.Get(), &nt, sizeof nt, &read, nullptr) && read == sizeof nt &&
       nt.Signature == IMAGE_NT_SIGNATURE;
  if (!ok) return L"it is not a Windows DLL";
  if (nt.FileHeader.Machine != IMAGE_FILE_MACHINE_I386) return L"it is not a 32-bit x86 module";
  if (!(nt.FileHeader.Characteristics & IMAGE_FILE_DLL)) return L"it is a program, not a DLL";
  return {};
}


// Loads the plug-in, after checking that the file is one. Throws HostError (kExitPlugin).
HMODULE LoadPlugin(const std::wstring& path, const std::wstring& given) {
  if (!IsExistingFile(path)) throw HostError{kExitPlugin, L"no plug-in file " + given};
  const std::wstring problem = ImageProblem(path);
  if (!problem.empty()) throw HostError{kExitPlugin, L"cannot load " + given + L" as a plug-in: " + problem};
  // No system dialog when the file is not a loadable module; the plug-in's own
  // dependencies are looked for next to it.
  const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  const HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
  const DWORD error = GetLastError();
  SetErrorMode(oldMode);
  if (!module) {
    throw HostError{kExitPlugin, L"cannot load " + given + L" as a plug-in: " + SystemMessage(error)};
  }
  return module;
}

}  // namespace

PluginModule::PluginModule(const std::wstring& given)
    : path(FullPath(given)), module(LoadPlugin(path, given)) {
  getPluginInfo = As<PB_GetPluginInfoFn>(FindExport(module, "PB_GetPluginInfo", "_PB_GetPluginInfo@8"));
  filterCount = As<PBF_FilterCountFn>(FindExport(module, "PBF_FilterCount", "_PBF_FilterCount@0"));
  getName = As<PBF_GetNameFn>(FindExport(module, "PBF_GetName", "_PBF_GetName@20"));
  Execute = As<PBF_ExecuteFn>(FindExport(module, "PBF_Execute", "_PBF_Execute@44"));
  Setup = As<PBF_SetupFn>(FindExport(module, "PBF_Setup", "_PBF_Setup@20"));
  const wchar_t* missing = !filterCount ? L"PBF_FilterCount"
                           : !getName   ? L"PBF_GetName"
                           : !Execute   ? L"PBF_Execute"
                           : !Setup     ? L"PBF_Setup"
                                        : nullptr;
  // The module is freed by its owner as the exception leaves.
  if (missing) {
    throw HostError{kExitPlugin,
                    given + L" is not a filter plug-in: it does not export " + missing};
  }
}

std::wstring PluginModule::Info() const {
  if (!getPluginInfo) return {};
  // Zeroed and one byte longer than announced, so the text always ends.
  char buffer[kTextBufferSize + 1] = {};
  getPluginInfo(buffer, kTextBufferSize);
  return FromPluginText(buffer);
}

std::vector<FilterEntry> PluginModule::Filters() const {
  std::vector<FilterEntry> filters;
  // A broken plug-in may answer anything; no menu holds more than this.
  const int32_t count = std::min(filterCount(), kMaxFilters);
  for (int32_t i = 0; i < count; ++i) {
    char category[kTextBufferSize + 1] = {}, name[kTextBufferSize + 1] = {};
    getName(i, category, kTextBufferSize, name, kTextBufferSize);
    filters.push_back({i, FromPluginText(category), FromPluginText(name)});
  }
  return filters;
}

int32_t HOST_CALL NoProgress(int32_t, int32_t, int32_t) { return 1; }

std::wstring FromPluginText(const char* text) {
  return text ? WideFromCodePage(text, 932) : std::wstring();
}

std::wstring EnglishForm(const std::wstring& text) { return text.substr(0, text.find(L'|')); }

std::wstring JapaneseForm(const std::wstring& text) {
  const size_t bar = text.find(L'|');
  return bar == std::wstring::npos ? std::wstring() : text.substr(bar + 1);
}

const FilterEntry& ChooseFilter(const std::vector<FilterEntry>& filters, const std::wstring& choice) {
  int32_t index;
  if (ReadInt32(choice, index)) {
    for (const FilterEntry& f : filters) {
      if (f.index == index) return f;
    }
    throw HostError{kExitUsage, L"no filter " + choice + L": the plug-in has " +
                                    std::to_wstring(filters.size()) + L" (see ppihost list)"};
  }
  const std::wstring wanted = FoldCase(choice);
  std::vector<const FilterEntry*> matches;
  for (const FilterEntry& f : filters) {
    const std::wstring english = FoldCase(EnglishForm(f.name));
    if (wanted.empty() || english.rfind(wanted, 0) != 0) continue;
    // "Solarization" names "Solarization..." exactly.
    const size_t dots = english.find_last_not_of(L'.');
    if (english == wanted || english.substr(0, dots + 1) == wanted) return f;
    matches.push_back(&f);
  }
  if (matches.size() == 1) return *matches.front();
  if (matches.empty()) throw HostError{kExitUsage, L"no filter named " + choice + L" (see ppihost list)"};
  std::wstring names;
  for (const FilterEntry* f : matches) names += (names.empty() ? L"" : L", ") + EnglishForm(f->name);
  throw HostError{kExitUsage, L"filter " + choice + L" is ambiguous: " + names};
}
