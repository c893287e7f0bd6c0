// A plug-in that misbehaves as a faulty one may: filter 0 crashes, filter 1 shows a
// message box through a pointer of its own rather than its import table.
#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {
const char* const kNames[] = {"Crash", "Hidden message"};
using MessageBoxWFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);
}  // namespace

extern "C" {
__declspec(dllexport) int32_t WINAPI PBF_FilterCount() { return 2; }

__declspec(dllexport) char* WINAPI PBF_GetName(int32_t index, char* category, int32_t categoryLength,
                                               char* name, int32_t nameLength) {
  std::strncpy(category, "Test", static_cast<size_t>(categoryLength));
  std::strncpy(name, index == 0 || index == 1 ? kNames[index] : "", static_cast<size_t>(nameLength));
  return name;
}

__declspec(dllexport) int32_t WINAPI PBF_Execute(int32_t index, HWND window, const uint8_t*, uint8_t*,
                                                 int32_t, const void*, int32_t, int32_t, int32_t,
                                                 void*, int32_t) {
  if (index == 0) {
    volatile int32_t* nowhere = nullptr;
    return *nowhere;
  }
  auto box = reinterpret_cast<MessageBoxWFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "MessageBoxW")));
  box(window, L"\u51e6\u7406\u3067\u304d\u307e\u305b\u3093", L"Faulty", MB_OK | MB_ICONERROR);  // 処理できません
  return 0;
}

__declspec(dllexport) int32_t WINAPI PBF_Setup(int32_t, HWND, const uint8_t*, int32_t, int32_t) { return 0; }
}
