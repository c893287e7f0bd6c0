// The owner of a handle from CreateFile: closed once, however the scope is left.
#pragma once
#include <windows.h>

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  HANDLE Get() const { return handle; }
  bool Valid() const { return handle != INVALID_HANDLE_VALUE; }
  // Closes now, for a caller that must know whether the last bytes reached the file.
  bool Close() {
    const bool closed = !Valid() || CloseHandle(handle);
    handle = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle;
};
