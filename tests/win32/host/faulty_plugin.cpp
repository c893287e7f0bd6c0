// A plug-in that misbehaves as a faulty one may: filter 0 crashes, filter 1 shows a
// message box through a pointer of its own rather than its import table. Filter 2 keeps
// its settings as older plug-ins do, through the narrow profile functions with Shift-JIS
// names, and writes to them while it runs.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
const char* const kNames[] = {"Crash", "Hidden message", "Narrow settings"};
using MessageBoxWFn = int(WINAPI*)(HWND, LPCWSTR, LPCWSTR, UINT);

// Section 設定, key 段階 in the file narrow.ini beside the module: the level goes to the
// first pixel's blue, and the level plus one, written and read back, to its green. The
// section "extra", read and written whole, gives its first value to the red.
void NarrowSettings(uint8_t* destination) {
  HMODULE self = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&NarrowSettings), &self);
  char path[MAX_PATH] = {};
  GetModuleFileNameA(self, path, MAX_PATH);
  std::strcpy(std::strrchr(path, '\\') + 1, "narrow.ini");
  const char section[] = "\x90\xdd\x92\xe8", key[] = "\x92\x69\x8a\x4b";
  const UINT level = GetPrivateProfileIntA(section, key, 7, path);
  char text[16];
  std::snprintf(text, sizeof text, "%u", level + 1);
  WritePrivateProfileStringA(section, "next", text, path);
  char back[16] = {};
  GetPrivateProfileStringA(section, "next", "0", back, sizeof back, path);
  char whole[64] = {};
  GetPrivateProfileSectionA("extra", whole, sizeof whole, path);
  WritePrivateProfileSectionA("extra", "written=1\0", path);
  const char* equals = std::strchr(whole, '=');
  destination[2] = static_cast<uint8_t>(equals ? std::atoi(equals + 1) : 0);
  destination[0] = static_cast<uint8_t>(level);
  destination[1] = static_cast<uint8_t>(std::atoi(back));
}
}  // namespace

extern "C" {
__declspec(dllexport) int32_t WINAPI PBF_FilterCount() { return 3; }

__declspec(dllexport) char* WINAPI PBF_GetName(int32_t index, char* category, int32_t categoryLength,
                                               char* name, int32_t nameLength) {
  std::strncpy(category, "Test", static_cast<size_t>(categoryLength));
  std::strncpy(name, index >= 0 && index <= 2 ? kNames[index] : "", static_cast<size_t>(nameLength));
  return name;
}

__declspec(dllexport) int32_t WINAPI PBF_Execute(int32_t index, HWND window, const uint8_t*, uint8_t* destination,
                                                 int32_t, const void*, int32_t, int32_t, int32_t,
                                                 void*, int32_t) {
  if (index == 0) {
    volatile int32_t* nowhere = nullptr;
    return *nowhere;
  }
  if (index == 2) {
    NarrowSettings(destination);
    return 1;
  }
  auto box = reinterpret_cast<MessageBoxWFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "MessageBoxW")));
  box(window, L"\u51e6\u7406\u3067\u304d\u307e\u305b\u3093", L"Faulty", MB_OK | MB_ICONERROR);  // 処理できません
  return 0;
}

__declspec(dllexport) int32_t WINAPI PBF_Setup(int32_t, HWND, const uint8_t*, int32_t, int32_t) { return 0; }
}
