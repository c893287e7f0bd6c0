#include "ppihost/console_text.h"

std::wstring WideFromCodePage(const std::string& text, UINT codePage) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0);
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], n);
  return wide;
}

std::string BytesFromWide(const std::wstring& text, UINT codePage) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), &bytes[0], n,
                      nullptr, nullptr);
  return bytes;
}

bool IsTerminal(HANDLE stream) {
  DWORD mode;
  // The NUL device is a character device too, but has no console mode.
  return stream && stream != INVALID_HANDLE_VALUE && GetFileType(stream) == FILE_TYPE_CHAR &&
         GetConsoleMode(stream, &mode);
}

void Write(HANDLE stream, const std::wstring& text) {
  if (!stream || stream == INVALID_HANDLE_VALUE || text.empty()) return;
  DWORD done;
  if (IsTerminal(stream)) {
    WriteConsoleW(stream, text.data(), static_cast<DWORD>(text.size()), &done, nullptr);
    return;
  }
  const std::string bytes = Utf8FromWide(text);
  WriteFile(stream, bytes.data(), static_cast<DWORD>(bytes.size()), &done, nullptr);
}

void WriteLine(HANDLE stream, const std::wstring& text) { Write(stream, text + L"\n"); }
