#include "support/plugin_library.h"

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "support/host_log.h"
#include "tools/ppihost/import_patch.h"

std::string ProgramFolder() {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string s(path, n);
  return s.substr(0, s.find_last_of('\\') + 1);
}

namespace {
std::string UniqueTempFolder(const std::string& name) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  static int serial = 0;
  // Process ids come round again, and a program that crashed leaves its folders
  // behind: skip names already taken.
  for (int attempt = 0; attempt < 100; ++attempt) {
    char unique[64];
    std::snprintf(unique, sizeof unique, "zz%lu_%d\\", GetCurrentProcessId(), ++serial);
    std::string parent = std::string(temp) + unique;
    if (!CreateDirectoryA(parent.c_str(), nullptr)) continue;
    std::string folder = parent + name + "\\";
    if (!CreateDirectoryA(folder.c_str(), nullptr)) throw std::runtime_error("cannot create " + folder);
    return folder;
  }
  throw std::runtime_error("cannot create a temporary folder");
}
}  // namespace

PluginLibrary::PluginLibrary(const std::string& folderName) : folder(UniqueTempFolder(folderName)) {
  const std::string source = ProgramFolder() + "zuzovezu.ppi";
  const std::string target = folder + "zuzovezu.ppi";
  if (!CopyFileA(source.c_str(), target.c_str(), FALSE)) throw std::runtime_error("cannot copy " + source);
  module = LoadLibraryA(target.c_str());
  if (!module) throw std::runtime_error("cannot load " + target);
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
  DeleteFileA((folder + "zuzovezu.ppi").c_str());
  RemoveDirectoryA(folder.c_str());
  RemoveDirectoryA(folder.substr(0, folder.find_last_of('\\', folder.size() - 2)).c_str());
}

void PluginLibrary::WriteSetting(const char* section, const char* key, const char* value) const {
  WritePrivateProfileStringA(section, key, value, SettingsPath().c_str());
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, SettingsPath().c_str());
}

void PluginLibrary::WriteSetting(const char* section, const char* key, int value) const {
  WriteSetting(section, key, std::to_string(value).c_str());
}

std::string PluginLibrary::SettingsText() const {
  std::ifstream in(SettingsPath(), std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void PluginLibrary::RemoveSettings() const {
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, SettingsPath().c_str());
  DeleteFileA(SettingsPath().c_str());
}

void PluginLibrary::CaptureMessageBoxes() const {
  PatchImport(module, "user32.dll", "MessageBoxA", reinterpret_cast<void*>(&CapturedMessageBoxA));
}
