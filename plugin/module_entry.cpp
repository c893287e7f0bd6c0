#include <windows.h>

#include "plugin/filter_registry.h"

// The registry itself is constructed by static initialisation before this runs.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) return Registry->Init(instance);
  return TRUE;
}
