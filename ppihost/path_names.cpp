#include "ppihost/path_names.h"

#include <windows.h>

std::wstring FullPath(const std::wstring& path) {
  const DWORD n = GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
  if (n == 0) return path;
  std::wstring full(n, L'\0');
  const DWORD written = GetFullPathNameW(path.c_str(), n, &full[0], nullptr);
  full.resize(written);
  return full;
}

std::wstring AnyLengthPath(const std::wstring& full) {
  if (full.size() < MAX_PATH || full.compare(0, 4, L"\\\\?\\") == 0) return full;
  if (full.compare(0, 4, L"\\\\.\\") == 0) return L"\\\\?\\" + full.substr(4);
  if (full.compare(0, 2, L"\\\\") == 0) return L"\\\\?\\UNC\\" + full.substr(2);
  return L"\\\\?\\" + full;
}

bool IsExistingFile(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FoldCase(std::wstring name) {
  if (!name.empty()) CharUpperBuffW(&name[0], static_cast<DWORD>(name.size()));
  return name;
}
