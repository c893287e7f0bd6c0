#include "ppihost/output_file.h"

#include <windows.h>

#include <algorithm>

#include "ppihost/exit_codes.h"
#include "ppihost/file_handle.h"
#include "ppihost/host_error.h"
#include "ppihost/interrupt.h"
#include "ppihost/path_names.h"
#include "ppihost/system_message.h"

namespace {

const wchar_t kTemporarySuffix[] = L".ppihost-tmp";

constexpr size_t kMaxNameLength = 255;
constexpr size_t kSuffixLength = sizeof kTemporarySuffix / sizeof kTemporarySuffix[0] - 1;
// Interrupts are noticed between blocks.
constexpr DWORD kBlockBytes = 1 << 20;

// Names the system keeps for devices, with or without an extension: "NUL.png" opens
// the NUL device, and whatever is written there is gone.
bool IsDeviceName(const std::wstring& name) {
  std::wstring base = name.substr(0, name.find(L'.'));
  while (!base.empty() && base.back() == L' ') base.pop_back();
  base = FoldCase(base);
  if (base == L"CON" || base == L"PRN" || base == L"AUX" || base == L"NUL" ||
      base == L"CONIN$" || base == L"CONOUT$") {
    return true;
  }
  // Windows's naming rules reserve COM0 to COM9 and LPT0 to LPT9, and the ports
  // numbered with the superscript digits one to three.
  return base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0) &&
         std::wstring(L"0123456789\u00B9\u00B2\u00B3").find(base[3]) != std::wstring::npos;
}

// Why Windows would not take `file` as the name of a file in a folder, or empty.
std::wstring NameProblem(const std::wstring& file) {
  if (file.empty()) return L"no file name";
  if (file.size() > kMaxNameLength) {
    return L"the name is longer than " + std::to_wstring(kMaxNameLength) + L" characters";
  }
  for (wchar_t c : file) {
    if (c < 32) return L"file names may not hold control characters";
    if (std::wstring(L"<>:\"|?*").find(c) != std::wstring::npos) {
      return L"file names may not hold the character " + std::wstring(1, c);
    }
  }
  if (IsDeviceName(file)) return L"the name is reserved for a device";
  return {};
}

HANDLE CreateTemporary(const std::wstring& path) {
  return CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Why `folder` (a full path ending in a separator) cannot take the file `temporary`
// (any-length form): no such folder, or no file can be created in it. Empty when it can.
std::wstring FolderProblem(const std::wstring& folder, const std::wstring& temporary) {
  const DWORD folderAttributes = GetFileAttributesW(AnyLengthPath(folder).c_str());
  if (folderAttributes == INVALID_FILE_ATTRIBUTES ||
      !(folderAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    return L"there is no folder " + folder;
  }
  TemporaryFileLock held;
  FileHandle probe(CreateTemporary(temporary));
  if (!probe.Valid()) return L"cannot create a file in its folder: " + SystemMessage(GetLastError());
  const DWORD type = GetFileType(probe.Get());
  probe.Close();
  DeleteFileW(temporary.c_str());
  if (type != FILE_TYPE_DISK) return L"it is not a file on a disk";
  return {};
}

}  // namespace

OutputFile::OutputFile(const std::wstring& name) : given(name) {
  const std::wstring full = FullPath(name);
  const size_t slash = full.find_last_of(L"\\/");
  const std::wstring folder = full.substr(0, slash + 1);
  const std::wstring file = full.substr(slash + 1);
  const std::wstring nameProblem = NameProblem(file);
  if (!nameProblem.empty()) Fail(nameProblem);
  path = AnyLengthPath(full);
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    Fail(L"it is a folder");
  }
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY)) {
    Fail(L"it is read-only");
  }
  // A name near the limit leaves no room for the suffix; the temporary file then
  // takes a shortened one.
  temporary =
      AnyLengthPath(folder + file.substr(0, kMaxNameLength - kSuffixLength) + kTemporarySuffix);
  const std::wstring folderProblem = FolderProblem(folder, temporary);
  if (!folderProblem.empty()) Fail(folderProblem);
}

void CheckOutputFolder(const std::wstring& name) {
  std::wstring folder = FullPath(name);
  if (folder.empty() || folder.back() != L'\\') folder += L'\\';
  // Named for this process: two runs into one folder must not meet in the probe.
  const std::wstring probe =
      L"ppihost-probe-" + std::to_wstring(GetCurrentProcessId()) + kTemporarySuffix;
  const std::wstring problem = FolderProblem(folder, AnyLengthPath(folder + probe));
  if (!problem.empty()) throw HostError{kExitOutput, L"cannot write into " + name + L": " + problem};
}

void OutputFile::Fail(const std::wstring& reason) const {
  throw HostError{kExitOutput, L"cannot write " + given + L": " + reason};
}

void OutputFile::Write(const std::vector<uint8_t>& bytes) {
  TemporaryFileLock held;
  if (held.Interrupted()) held.AwaitEnd();
  FileHandle file(CreateTemporary(temporary));
  if (!file.Valid()) Fail(SystemMessage(GetLastError()));
  // From here on every way out removes the temporary file.
  auto giveUp = [&](DWORD error) {
    file.Close();
    DeleteFileW(temporary.c_str());
    if (held.Interrupted()) held.AwaitEnd();
    Fail(SystemMessage(error));
  };
  for (size_t done = 0; done < bytes.size();) {
    if (held.Interrupted()) giveUp(ERROR_OPERATION_ABORTED);
    const DWORD n = static_cast<DWORD>(std::min<size_t>(kBlockBytes, bytes.size() - done));
    DWORD written = 0;
    if (!WriteFile(file.Get(), bytes.data() + done, n, &written, nullptr)) giveUp(GetLastError());
    // A short write without an error is a full disk.
    if (written != n) giveUp(ERROR_DISK_FULL);
    done += n;
  }
  if (!FlushFileBuffers(file.Get())) giveUp(GetLastError());
  if (!file.Close()) giveUp(GetLastError());
  if (held.Interrupted()) giveUp(ERROR_OPERATION_ABORTED);
  if (!MoveFileExW(temporary.c_str(), path.c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    giveUp(GetLastError());
  }
  held.Committed();
}
