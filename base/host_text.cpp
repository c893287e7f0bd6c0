#include "base/host_text.h"

#include <cstring>

#include "base/cp932.h"

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
