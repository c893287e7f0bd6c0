// The settings file zodederor.ini next to the module, through the platform's
// private-profile functions.
#pragma once
#include "settings/settings_records.h"

inline constexpr int kSettingsPathSize = 260;

// Fills `buffer` (of `size` bytes) with the settings file's full path, or the empty
// string when the module's path cannot hold it. Returns `buffer`.
char* GetSettingsPath(char* buffer, int size);

SolarizationSettings ReadSolarizationSettings();
PosterizationSettings ReadPosterizationSettings();
CutLowBitSettings ReadCutLowBitSettings();

// One key written as text; nothing is written when `path` is empty.
void WriteSettingsString(const char* section, const char* key, const char* value,
                         const char* path);
void WriteSettingsInt(const char* section, const char* key, int value, const char* path);
// Makes the platform write its cached copy of the file to disk.
void FlushSettings(const char* path);
