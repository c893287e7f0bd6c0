// The settings file zodederor.ini next to the module, through the platform's wide
// private-profile functions: any folder name, in any ANSI code page, and any length
// they accept. Where they refuse the path (Wine does from MAX_PATH UTF-16 units on,
// with ERROR_INVALID_NAME), reads give the defaults and a save reports its failure.
#pragma once
#include <cstdint>
#include <string>

#include "settings/settings_records.h"

// The settings file's full path beside the module; empty when the module's path
// cannot be had.
std::wstring SettingsPath();

SolarizationSettings ReadSolarizationSettings();
PosterizationSettings ReadPosterizationSettings();
CutLowBitSettings ReadCutLowBitSettings();

// One save of a dialog's values: every key written against one path, each write
// checked, and one flush at the end. A key written after a failure is not attempted.
class SettingsWriter {
 public:
  SettingsWriter();  // the settings file beside the module
  explicit SettingsWriter(std::wstring path);

  // Written as decimal text.
  void WriteInt(const char* section, const char* key, int32_t value);
  // Written as "1" or "0".
  void WriteFlag(const char* section, const char* key, bool on);
  // Makes the platform write its cached copy of the file to disk. True when there was
  // a path and every write reached the file.
  bool Flush();

  const std::wstring& Path() const { return path; }

 private:
  void Write(const char* section, const char* key, const char* value);

  std::wstring path;
  bool failed;
};
