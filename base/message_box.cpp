#include "base/message_box.h"

namespace {
constexpr UINT kTextCodePage = 932;
}

std::wstring WideFromCp932(const char* text) {
  if (!text || !*text) return std::wstring();
  const int n = MultiByteToWideChar(kTextCodePage, 0, text, -1, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring wide(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(kTextCodePage, 0, text, -1, &wide[0], n);
  wide.resize(static_cast<size_t>(n - 1));  // without the terminator
  return wide;
}

int ShowMessageBox(HWND owner, const std::wstring& text, const char* caption, UINT type) {
  return MessageBoxW(owner, text.c_str(), WideFromCp932(caption).c_str(), type);
}

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
  return ShowMessageBox(owner, WideFromCp932(text), caption, type);
}
