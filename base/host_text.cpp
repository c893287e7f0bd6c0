#include "base/host_text.h"

#include <cstring>

namespace {

// The first byte of a double-byte code page 932 (Shift-JIS) character; the byte after
// it, whatever its value, belongs to the same character. The module's own texts are
// code page 932 whatever the system's, so this is the fixed table, not the system's.
bool IsCp932LeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

}  // namespace

void CopyHostText(char* buffer, int32_t length, const char* text) {
  if (!buffer || length <= 0) return;
  std::strncpy(buffer, text ? text : "", static_cast<size_t>(length));
}

size_t FitCp932(const char* text, size_t maxBytes) {
  size_t i = 0;
  while (text[i] != '\0') {
    const size_t step = (IsCp932LeadByte(static_cast<unsigned char>(text[i])) && text[i + 1] != '\0') ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  return i;
}

void FormatWithDetail(char* buffer, size_t size, const char* head, const char* detail) {
  if (!buffer || size == 0) return;
  static constexpr char kSeparator[] = "\n\n";
  size_t used = 0;
  auto append = [&](const char* text, size_t n) {
    std::memcpy(buffer + used, text, n);
    used += n;
  };
  append(head, FitCp932(head, size - 1));
  append(kSeparator, FitCp932(kSeparator, size - 1 - used));
  append(detail, FitCp932(detail, size - 1 - used));
  buffer[used] = '\0';
}
