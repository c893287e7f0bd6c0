#include <windows.h>

#include "plugin/filter_registry.h"
#include "plugin/runtime_release.h"

// The registry itself is constructed by static initialisation before this runs.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) return Registry->Init(instance);
  // Freed by the host, not the process ending: the host gets everything back.
  if (reason == DLL_PROCESS_DETACH && !reserved) ReleaseRuntimeResources();
  return TRUE;
}
