#include "settings/settings_path.h"

#include "settings/settings_records.h"

std::wstring SettingsPathBeside(const std::wstring& modulePath) {
  const size_t slash = modulePath.find_last_of(L'\\');
  if (slash == std::wstring::npos) return std::wstring();
  return modulePath.substr(0, slash + 1) + kSettingsFileName;
}
