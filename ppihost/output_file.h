// An output file that appears whole or not at all. The encoded bytes go to a temporary
// file beside the output (OUTPUT.ppihost-tmp, so that the rename stays on one volume
// and a stray file says what it is), every write is checked and flushed to the disk,
// and only then is the output replaced, in one step. On any failure the output keeps
// its old bytes and the temporary file is removed; so it is when the user interrupts.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

class OutputFile {
 public:
  // Checks at once, before any work, that the output can be written: a name the
  // system accepts as a file, an existing folder that is not read-only to us, and no
  // read-only file in the way. The temporary file is created and removed again to
  // prove the folder; whether the disk has room shows only when the bytes are written.
  // Throws HostError (kExitOutput).
  explicit OutputFile(const std::wstring& path);
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Writes `bytes` as the output's new contents. Throws HostError (kExitOutput).
  void Write(const std::vector<uint8_t>& bytes);

 private:
  [[noreturn]] void Fail(const std::wstring& reason) const;

  std::wstring given;      // as the user wrote it, for messages
  std::wstring path;       // full, in the form the file functions take at any length
  std::wstring temporary;  // likewise
};

// Checks, before any work, that files can be made in the folder `name`, as the
// constructor above does for a file's folder. Throws HostError (kExitOutput).
void CheckOutputFolder(const std::wstring& name);
