// One value given for a run: SECTION.KEY=VALUE, the names as the settings file spells
// them.
#pragma once
#include <string>

struct Setting {
  std::wstring section;
  std::wstring key;
  std::wstring value;
};
