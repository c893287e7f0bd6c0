// The statically linked runtime opens a semaphore for each of its mutexes and never
// closes it: the unwinder's frame-table mutex and the exception emergency pool's when
// the module loads, and the guard mutex of function-local statics at the first one
// initialised. Its import of CreateSemaphoreW is routed here at link time (-Wl,--wrap,
// see CMakeLists.txt), so that the module can close at unload what the runtime opened.
// The import is the one place to catch them all: the runtime inlines the call in a
// dozen places. Once the host frees the module (the loader lock held), these mutexes
// are locked only uncontended, which never touches their semaphores.
#include "plugin/runtime_release.h"

#include <windows.h>

namespace __gnu_cxx {
void __freeres() noexcept;  // the C++ runtime's own release of its emergency pool
}

namespace {

constexpr LONG kMaxSemaphores = 8;  // the runtime opens three
HANDLE semaphores[kMaxSemaphores];
volatile LONG opened = 0;

}  // namespace

// The import itself, and the replacement the runtime's objects call instead (the
// target's symbols carry a leading underscore).
extern "C" decltype(&CreateSemaphoreW) systemCreateSemaphoreW asm("___real__imp__CreateSemaphoreW@16");

namespace {

HANDLE WINAPI CreateRuntimeSemaphore(LPSECURITY_ATTRIBUTES attributes, LONG initial, LONG maximum,
                                     LPCWSTR name) {
  const HANDLE semaphore = systemCreateSemaphoreW(attributes, initial, maximum, name);
  const LONG slot = InterlockedIncrement(&opened) - 1;
  if (semaphore && slot < kMaxSemaphores) semaphores[slot] = semaphore;
  return semaphore;
}

}  // namespace

extern "C" decltype(&CreateSemaphoreW) const runtimeCreateSemaphoreW asm("___wrap__imp__CreateSemaphoreW@16");
decltype(&CreateSemaphoreW) const runtimeCreateSemaphoreW = &CreateRuntimeSemaphore;

void ReleaseRuntimeResources() {
  __gnu_cxx::__freeres();
  const LONG n = opened < kMaxSemaphores ? opened : kMaxSemaphores;
  for (LONG i = 0; i < n; ++i) {
    if (semaphores[i]) CloseHandle(semaphores[i]);
    semaphores[i] = nullptr;
  }
  opened = 0;
}
