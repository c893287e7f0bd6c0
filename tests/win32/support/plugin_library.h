// Loads a private copy of the built zuzovezu.ppi the way a host does, from a fresh
// folder (with a Japanese name, as users keep their plug-ins, or any name at all), and
// finds its exports.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/host_interface.h"

// The folder of the running program (where the built plug-in lies), with a backslash.
std::string ProgramFolder();
std::wstring ProgramFolderW();
// A new, empty folder of its own in the temporary folder, with a backslash.
std::wstring UniqueTempFolder();

class PluginLibrary {
 public:
  // `folderName` is created in the temporary folder; it is code page 932 text.
  explicit PluginLibrary(const std::string& folderName = "\x83v\x83\x89\x83O\x83" "C\x83\x93");  // プラグイン
  // Any name the file system allows; backslashes in it make nested folders.
  explicit PluginLibrary(const std::wstring& folderName);
  ~PluginLibrary();
  PluginLibrary(const PluginLibrary&) = delete;
  PluginLibrary& operator=(const PluginLibrary&) = delete;

  HMODULE Module() const { return module; }
  // In the ANSI code page (for names it can spell), and as they are.
  const std::string& Folder() const { return folder; }
  std::string SettingsPath() const { return folder + "zodederor.ini"; }
  std::wstring SettingsPathW() const { return folderW + L"zodederor.ini"; }

  // Looks an export up; `plain` selects the plain name, else the decorated one.
  template <class Fn>
  Fn Export(const char* name) const {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(module, name)));
  }

  PB_GetPluginInfoFn GetPluginInfo;
  PBF_FilterCountFn FilterCount;
  PBF_GetNameFn GetName;
  PBF_ExecuteFn Execute;
  PBF_SetupFn Setup;

  // Settings file helpers, through the platform's private-profile functions.
  void WriteSetting(const char* section, const char* key, const char* value) const;
  void WriteSetting(const char* section, const char* key, int value) const;
  std::string SettingsText() const;  // the whole file, or "" when there is none
  void RemoveSettings() const;

  // Makes the plug-in's message boxes land in HostEvents() instead of on screen.
  void CaptureMessageBoxes() const;

 private:
  std::wstring base;     // the unique temporary folder that holds the named ones
  std::wstring folderW;  // with a backslash
  std::string folder;
  HMODULE module = nullptr;
};
