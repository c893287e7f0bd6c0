// Building the settings-file path from the module's path. Platform-free.
#pragma once
#include <string>

// `modulePath` is the module file's full path as the platform gives it (UTF-16, any
// length). Returns it with everything after the last backslash replaced by the settings
// file's name; the empty string when it holds no backslash (never the module itself):
// reads then give defaults and a save reports that it failed.
std::wstring SettingsPathBeside(const std::wstring& modulePath);
