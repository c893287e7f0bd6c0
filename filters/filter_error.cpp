#include "filters/filter_error.h"

#include "base/host_interface.h"
#include "base/win32_handles.h"
#include "resources/texts_cp932.h"

namespace {
inline constexpr int kQueryBeforeError = 5;
}  // namespace

int CallHostQuery(int code, int argument) {
  char path[MAX_PATH];
  const DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
  if (n == 0 || n >= sizeof path) return 0;
  // Only adds a reference to the host, which is already loaded.
  LoadedModule host(LoadLibraryA(path));
  if (!host) return 0;
  const auto query =
      reinterpret_cast<PBF_QueryClientInfoFn>(reinterpret_cast<void*>(GetProcAddress(host, "PBF_QueryClientInfo")));
  return query ? query(code, argument) : 0;
}

void ReportFilterError(HWND window, const char* text) {
  CallHostQuery(kQueryBeforeError, 0);
  if (text) MessageBoxA(window, text, kErrorCaption, MB_ICONERROR);
}
