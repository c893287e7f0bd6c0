#include "ppihost/input_patterns.h"

#include <windows.h>

#include <algorithm>

#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/path_names.h"

namespace {

// FindFirstFile -> FindClose.
class FileSearch {
 public:
  FileSearch(const std::wstring& pattern, WIN32_FIND_DATAW& found)
      : handle(FindFirstFileW(pattern.c_str(), &found)) {}
  ~FileSearch() {
    if (handle != INVALID_HANDLE_VALUE) FindClose(handle);
  }
  FileSearch(const FileSearch&) = delete;
  FileSearch& operator=(const FileSearch&) = delete;
  HANDLE Get() const { return handle; }

 private:
  HANDLE handle;
};

bool NameBefore(const std::wstring& a, const std::wstring& b) { return FoldCase(a) < FoldCase(b); }

std::vector<std::wstring> Matches(const std::wstring& pattern) {
  const size_t slash = pattern.find_last_of(L"\\/");
  const std::wstring folder = slash == std::wstring::npos ? L"" : pattern.substr(0, slash + 1);
  if (folder.find_first_of(L"*?") != std::wstring::npos) {
    throw HostError{kExitUsage, L"a pattern may hold * and ? only in its last part, not as in " +
                                    pattern};
  }
  std::vector<std::wstring> names;
  WIN32_FIND_DATAW found;
  const FileSearch search(AnyLengthPath(FullPath(pattern)), found);
  if (search.Get() != INVALID_HANDLE_VALUE) {
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(search.Get(), &found));
  }
  if (names.empty()) throw HostError{kExitInput, L"no file matches " + pattern};
  std::sort(names.begin(), names.end(), NameBefore);
  for (std::wstring& name : names) name = folder + name;
  return names;
}

}  // namespace

std::vector<std::wstring> ExpandInputs(const std::vector<std::wstring>& arguments) {
  std::vector<std::wstring> inputs;
  for (const std::wstring& argument : arguments) {
    if (argument.find_first_of(L"*?") == std::wstring::npos) {
      inputs.push_back(argument);
    } else {
      const std::vector<std::wstring> matches = Matches(argument);
      inputs.insert(inputs.end(), matches.begin(), matches.end());
    }
  }
  return inputs;
}
