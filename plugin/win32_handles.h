// Owners of Win32 handles, one small non-copyable type per way of acquiring.
#pragma once
#include <windows.h>

class LoadedModule {
 public:
  explicit LoadedModule(HMODULE module) : module(module) {}
  ~LoadedModule() {
    if (module) FreeLibrary(module);
  }
  LoadedModule(const LoadedModule&) = delete;
  LoadedModule& operator=(const LoadedModule&) = delete;
  explicit operator bool() const { return module != nullptr; }
  operator HMODULE() const { return module; }

 private:
  HMODULE module;
};
