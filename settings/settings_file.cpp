#include "settings/settings_file.h"

#include <windows.h>

#include <cstdio>

#include "base/module_handle.h"
#include "settings/settings_path.h"

char* GetSettingsPath(char* buffer, int size) {
  if (!buffer || size <= 0) return buffer;
  const DWORD n = GetModuleFileNameA(ModuleHandle(), buffer, static_cast<DWORD>(size));
  ReplaceFileName(buffer, static_cast<size_t>(size), n, kSettingsFileName);
  return buffer;
}

namespace {

// The whole record is read against one path, rebuilt for every read.
class ProfileReader {
 public:
  ProfileReader() { GetSettingsPath(path, sizeof path); }
  int32_t operator()(const char* section, const char* key, int32_t defaultValue) const {
    if (path[0] == '\0') return defaultValue;
    return static_cast<int32_t>(GetPrivateProfileIntA(section, key, defaultValue, path));
  }

 private:
  char path[kSettingsPathSize];
};

}  // namespace

SolarizationSettings ReadSolarizationSettings() { return ReadSolarizationRecord(ProfileReader()); }
PosterizationSettings ReadPosterizationSettings() { return ReadPosterizationRecord(ProfileReader()); }
CutLowBitSettings ReadCutLowBitSettings() { return ReadCutLowBitRecord(ProfileReader()); }

void WriteSettingsString(const char* section, const char* key, const char* value,
                         const char* path) {
  if (!path || path[0] == '\0') return;
  WritePrivateProfileStringA(section, key, value, path);
}

void WriteSettingsInt(const char* section, const char* key, int value, const char* path) {
  char text[16];
  std::snprintf(text, sizeof text, "%d", value);
  WriteSettingsString(section, key, text, path);
}

void FlushSettings(const char* path) {
  if (!path || path[0] == '\0') return;
  WritePrivateProfileStringA(nullptr, nullptr, nullptr, path);
}
