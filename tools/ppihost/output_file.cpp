#include "tools/ppihost/output_file.h"

#include <windows.h>

#include "tools/ppihost/exit_codes.h"
#include "tools/ppihost/host_error.h"
#include "tools/ppihost/system_error.h"

OutputFile::OutputFile(const std::wstring& name) : given(name), path(FullPath(name)) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw HostError{kExitOutput, L"cannot write " + given + L": it is a folder"};
  }
  folder = path.substr(0, path.find_last_of(L'\\') + 1);
  CreateTemporary();
  DeleteFileW(temporary.c_str());
  temporary.clear();
}

OutputFile::~OutputFile() {
  if (!committed && !temporary.empty()) DeleteFileW(temporary.c_str());
}

const std::wstring& OutputFile::CreateTemporary() {
  wchar_t name[MAX_PATH + 1] = {};
  // GetTempFileName wants room for its own 14 characters.
  if (folder.size() >= MAX_PATH - 14) {
    throw HostError{kExitOutput, L"cannot write " + given + L": the folder's path is too long"};
  }
  if (!GetTempFileNameW(folder.c_str(), L"ppi", 0, name)) {
    throw HostError{kExitOutput, L"cannot write " + given + L": " + SystemMessage(GetLastError())};
  }
  temporary = name;
  return temporary;
}

void OutputFile::Commit() {
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw HostError{kExitOutput, L"cannot write " + given + L": " + SystemMessage(GetLastError())};
  }
  committed = true;
}
