#include "support/host_log.h"

#include "base/host_interface.h"
#include "ppihost/import_patch.h"

namespace {
int queryResult = 0;

std::string Cp932(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                    nullptr, nullptr);
  std::string s(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(932, 0, text.data(), static_cast<int>(text.size()), &s[0], n, nullptr, nullptr);
  return s;
}

int WINAPI CapturedMessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
  HostEvent e;
  e.kind = HostEvent::kMessageBox;
  e.owner = owner;
  e.wideText = text ? text : L"";
  e.wideCaption = caption ? caption : L"";
  e.text = Cp932(e.wideText);
  e.caption = Cp932(e.wideCaption);
  e.type = type;
  HostEvents().push_back(e);
  return IDOK;
}
}  // namespace

std::vector<HostEvent>& HostEvents() {
  static std::vector<HostEvent> events;
  return events;
}

void ClearHostEvents() { HostEvents().clear(); }
void SetHostQueryResult(int result) { queryResult = result; }

void CaptureMessageBoxes(HMODULE module) {
  PatchImport(module, "user32.dll", "MessageBoxW", reinterpret_cast<void*>(&CapturedMessageBoxW));
}

// The host export a plug-in reaches through the main executable.
extern "C" __declspec(dllexport) int WINAPI PBF_QueryClientInfo(int code, int argument) {
  HostEvent e;
  e.kind = HostEvent::kQuery;
  e.code = code;
  e.argument = argument;
  HostEvents().push_back(e);
  return queryResult;
}

::testing::AssertionResult FilterErrorReported(HWND owner, const std::string& text) {
  const std::vector<HostEvent>& e = HostEvents();
  if (e.size() != 2) return ::testing::AssertionFailure() << e.size() << " host events, expected 2";
  if (e[0].kind != HostEvent::kQuery || e[0].code != 5 || e[0].argument != 0) {
    return ::testing::AssertionFailure() << "the host was not told first (query 5, 0)";
  }
  const HostEvent& box = e[1];
  if (box.kind == HostEvent::kMessageBox && box.owner == owner && box.text == text &&
      box.caption == "\x83G\x83\x89\x81[" && box.type == MB_ICONERROR) {  // エラー
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "box owner " << static_cast<void*>(box.owner) << " (expected "
                                       << static_cast<void*>(owner) << "), type " << box.type
                                       << ", caption \"" << box.caption << "\", text \"" << box.text << "\"";
}
