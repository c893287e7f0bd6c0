#include "filters/filter_error.h"

#include "base/host_interface.h"
#include "base/message_box.h"
#include "resources/texts_cp932.h"

namespace {
inline constexpr int kQueryBeforeError = 5;
}  // namespace

int CallHostQuery(int code, int argument) {
  // The host is the process's main program: its handle needs neither its path (which
  // may be too long for any fixed buffer) nor a reference of ours.
  const HMODULE host = GetModuleHandleW(nullptr);
  if (!host) return 0;
  const auto query =
      reinterpret_cast<PBF_QueryClientInfoFn>(reinterpret_cast<void*>(GetProcAddress(host, "PBF_QueryClientInfo")));
  return query ? query(code, argument) : 0;
}

void ReportFilterError(HWND window, const char* text) {
  CallHostQuery(kQueryBeforeError, 0);
  if (text) ShowMessageBox(window, text, kErrorCaption, MB_ICONERROR);
}
