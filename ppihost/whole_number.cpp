#include "ppihost/whole_number.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <limits>

bool ReadInt32(const std::wstring& text, int32_t& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  errno = 0;
  const long long v = std::wcstoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != L'\0' || std::iswspace(text[0])) return false;
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(v);
  return true;
}
