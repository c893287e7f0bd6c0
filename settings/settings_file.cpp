#include "settings/settings_file.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "base/module_handle.h"
#include "settings/settings_path.h"

namespace {

// The largest path the platform handles (in UTF-16 units, with the \\?\ prefix).
constexpr DWORD kMaxModulePath = 32768;

std::wstring ModulePath(HMODULE module) {
  // The platform truncates a path that does not fit (without saying so on older
  // systems, where the result then equals the buffer's size): grow and ask again, up
  // to the largest path there can be.
  for (DWORD size = MAX_PATH;; size = std::min(2 * size, kMaxModulePath)) {
    std::wstring path(size, L'\0');
    const DWORD n = GetModuleFileNameW(module, &path[0], size);
    if (n == 0) return std::wstring();
    if (n < size) {
      path.resize(n);
      return path;
    }
    if (size == kMaxModulePath) return std::wstring();
  }
}

// Section and key names are ASCII.
std::wstring Widen(const char* ascii) { return std::wstring(ascii, ascii + std::strlen(ascii)); }

// The whole record is read against one path.
class ProfileReader {
 public:
  ProfileReader() : path(SettingsPath()) {}
  int32_t operator()(const char* section, const char* key, int32_t defaultValue) const {
    if (path.empty()) return defaultValue;
    return static_cast<int32_t>(
        GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(), defaultValue, path.c_str()));
  }

 private:
  std::wstring path;
};

}  // namespace

std::wstring SettingsPath() { return SettingsPathBeside(ModulePath(ModuleHandle())); }

SolarizationSettings ReadSolarizationSettings() { return ReadSolarizationRecord(ProfileReader()); }
PosterizationSettings ReadPosterizationSettings() { return ReadPosterizationRecord(ProfileReader()); }
CutLowBitSettings ReadCutLowBitSettings() { return ReadCutLowBitRecord(ProfileReader()); }

SettingsWriter::SettingsWriter() : SettingsWriter(SettingsPath()) {}

SettingsWriter::SettingsWriter(std::wstring path) : path(std::move(path)), failed(this->path.empty()) {}

void SettingsWriter::WriteInt(const char* section, const char* key, int32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
  Write(section, key, text);
}

void SettingsWriter::WriteFlag(const char* section, const char* key, bool on) {
  Write(section, key, on ? "1" : "0");
}

void SettingsWriter::Write(const char* section, const char* key, const char* value) {
  if (failed) return;
  // The platform writes a file it creates in the ANSI code page; these texts are ASCII.
  failed = !WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                       Widen(value).c_str(), path.c_str());
}

bool SettingsWriter::Flush() {
  if (path.empty()) return false;
  // What the flush returns says nothing (some systems report failure whatever happens):
  // each write above has already been checked against the file.
  WritePrivateProfileStringW(nullptr, nullptr, nullptr, path.c_str());
  return !failed;
}
