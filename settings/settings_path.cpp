#include "settings/settings_path.h"

#include <cstring>

#include "base/cp932.h"

namespace {

// Position just after the last path separator, or 0 when there is none. The scan runs
// forwards so that the trail byte of a double-byte character (ソ is 0x83 0x5C) is never
// taken for a backslash.
size_t AfterLastSeparator(const char* path, size_t length) {
  size_t after = 0;
  for (size_t i = 0; i < length; ++i) {
    const unsigned char c = static_cast<unsigned char>(path[i]);
    if (IsCp932LeadByte(c) && i + 1 < length) {
      ++i;
    } else if (c == '\\') {
      after = i + 1;
    }
  }
  return after;
}
}  // namespace

bool ReplaceFileName(char* buffer, size_t size, size_t length, const char* fileName) {
  if (!buffer || size == 0) return false;
  const size_t slash = length < size ? AfterLastSeparator(buffer, length) : 0;
  const size_t nameBytes = std::strlen(fileName) + 1;
  if (slash == 0 || nameBytes > size - slash) {
    buffer[0] = '\0';
    return false;
  }
  std::memcpy(buffer + slash, fileName, nameBytes);
  return true;
}
