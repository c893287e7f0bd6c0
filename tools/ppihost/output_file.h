// An output file that appears whole or not at all: the image is written to a
// temporary file in the output's own folder (so that the final rename stays on one
// volume) and moved over the output only once complete.
#pragma once
#include <string>

class OutputFile {
 public:
  // Tries the folder at once, so that an unwritable output is reported before any
  // work is done; nothing is left there meanwhile. Throws HostError (kExitOutput).
  explicit OutputFile(const std::wstring& path);
  // Removes the temporary file unless Commit succeeded.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the temporary file to write the image into. Throws HostError (kExitOutput).
  const std::wstring& CreateTemporary();
  // Replaces the output with the temporary file. Throws HostError (kExitOutput).
  void Commit();

 private:
  std::wstring given;
  std::wstring path;
  std::wstring folder;
  std::wstring temporary;
  bool committed = false;
};
