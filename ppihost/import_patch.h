// Redirects one function a loaded module imports by rewriting its import address
// table. Only that module's calls are affected.
#pragma once
#include <windows.h>

#include <utility>
#include <vector>

// Returns the previous target, or null when the module does not import the function.
void* PatchImport(HMODULE module, const char* dllName, const char* functionName, void* target);

struct ImportHook {
  const char* name;
  void* target;
};

// Redirects those of `hooks` (ended by a null name) that the module imports from the
// library, for the object's lifetime; each goes back to its previous target at the end.
class ImportPatches {
 public:
  ImportPatches(HMODULE module, const char* dllName, const ImportHook* hooks);
  ~ImportPatches();
  ImportPatches(const ImportPatches&) = delete;
  ImportPatches& operator=(const ImportPatches&) = delete;

 private:
  HMODULE module;
  const char* dllName;
  std::vector<std::pair<const char*, void*>> originals;  // import name, previous target
};
