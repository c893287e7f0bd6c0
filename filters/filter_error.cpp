#include "filters/filter_error.h"

#include "base/host_interface.h"
#include "base/message_box.h"
#include "base/win32_handles.h"
#include "resources/texts_cp932.h"

namespace {
inline constexpr int kQueryBeforeError = 5;
}  // namespace

int CallHostQuery(int code, int argument) {
  // The host's own path, whatever its folder is called.
  wchar_t path[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 0;
  // Only adds a reference to the host, which is already loaded.
  LoadedModule host(LoadLibraryW(path));
  if (!host) return 0;
  const auto query =
      reinterpret_cast<PBF_QueryClientInfoFn>(reinterpret_cast<void*>(GetProcAddress(host, "PBF_QueryClientInfo")));
  return query ? query(code, argument) : 0;
}

void ReportFilterError(HWND window, const char* text) {
  CallHostQuery(kQueryBeforeError, 0);
  if (text) ShowMessageBox(window, text, kErrorCaption, MB_ICONERROR);
}
