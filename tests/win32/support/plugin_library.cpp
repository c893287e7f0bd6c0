#include "support/plugin_library.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "support/host_log.h"

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

std::wstring ProgramFolderW() {
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring s(path, n);
  return s.substr(0, s.find_last_of(L'\\') + 1);
}

namespace {

std::wstring WideFrom(const std::string& text, UINT codePage) {
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring s(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &s[0], n);
  return s;
}

std::string Ansi(const std::wstring& text) {
  const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &s[0], n, nullptr, nullptr);
  return s;
}

// Each step of `name` below `base`, outermost first, each with its backslash.
std::vector<std::wstring> FolderSteps(const std::wstring& base, const std::wstring& name) {
  std::vector<std::wstring> steps;
  std::wstring path = base;
  for (size_t start = 0; start < name.size();) {
    size_t end = name.find(L'\\', start);
    if (end == std::wstring::npos) end = name.size();
    path += name.substr(start, end - start) + L"\\";
    steps.push_back(path);
    start = end + 1;
  }
  return steps;
}

}  // namespace

std::wstring UniqueTempFolder() {
  wchar_t temp[MAX_PATH];
  GetTempPathW(MAX_PATH, temp);
  static int serial = 0;
  // Process ids come round again, and a program that crashed leaves its folders
  // behind: skip names already taken.
  for (int attempt = 0; attempt < 100; ++attempt) {
    wchar_t unique[64];
    std::swprintf(unique, 64, L"zz%lu_%d\\", GetCurrentProcessId(), ++serial);
    const std::wstring folder = std::wstring(temp) + unique;
    if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
  }
  throw std::runtime_error("cannot create a temporary folder");
}

PluginLibrary::PluginLibrary(const std::string& folderName) : PluginLibrary(WideFrom(folderName, 932)) {}

PluginLibrary::PluginLibrary(const std::wstring& folderName) : base(UniqueTempFolder()) {
  for (const std::wstring& step : FolderSteps(base, folderName)) {
    if (!CreateDirectoryW(step.c_str(), nullptr)) throw std::runtime_error("cannot create " + Ansi(step));
    folderW = step;
  }
  folder = Ansi(folderW);
  const std::wstring source = ProgramFolderW() + L"zuzovezu.ppi";
  const std::wstring target = folderW + L"zuzovezu.ppi";
  if (!CopyFileW(source.c_str(), target.c_str(), FALSE)) throw std::runtime_error("cannot copy the plug-in");
  module = LoadLibraryW(target.c_str());
  if (!module) throw std::runtime_error("cannot load " + Ansi(target));
  GetPluginInfo = Export<PB_GetPluginInfoFn>("PB_GetPluginInfo");
  FilterCount = Export<PBF_FilterCountFn>("PBF_FilterCount");
  GetName = Export<PBF_GetNameFn>("PBF_GetName");
  Execute = Export<PBF_ExecuteFn>("PBF_Execute");
  Setup = Export<PBF_SetupFn>("PBF_Setup");
  ClearHostEvents();
}

PluginLibrary::~PluginLibrary() {
  if (module) FreeLibrary(module);
  RemoveSettings();
  DeleteFileW((folderW + L"zuzovezu.ppi").c_str());
  std::wstring path = folderW;
  while (path.size() > base.size()) {
    RemoveDirectoryW(path.c_str());
    path.erase(path.find_last_of(L'\\', path.size() - 2) + 1);
  }
  RemoveDirectoryW(base.c_str());
}

void PluginLibrary::WriteSetting(const char* section, const char* key, const char* value) const {
  const std::wstring path = SettingsPathW();
  WritePrivateProfileStringW(WideFrom(section, CP_ACP).c_str(), WideFrom(key, CP_ACP).c_str(),
                             WideFrom(value, CP_ACP).c_str(), path.c_str());
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
}

void PluginLibrary::WriteSetting(const char* section, const char* key, int value) const {
  WriteSetting(section, key, std::to_string(value).c_str());
}

std::string PluginLibrary::SettingsText() const {
  HANDLE file = CreateFileW(SettingsPathW().c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return "";
  std::string text;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) text.append(buffer, n);
  CloseHandle(file);
  return text;
}

void PluginLibrary::RemoveSettings() const {
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, SettingsPathW().c_str());
  DeleteFileW(SettingsPathW().c_str());
}

void PluginLibrary::CaptureMessageBoxes() const { ::CaptureMessageBoxes(module); }
