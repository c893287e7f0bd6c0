// A plug-in whose one filter crashes when run, as a faulty plug-in may.
#include <windows.h>

#include <cstdint>
#include <cstring>

extern "C" {
__declspec(dllexport) int32_t WINAPI PBF_FilterCount() { return 1; }

__declspec(dllexport) char* WINAPI PBF_GetName(int32_t, char* category, int32_t categoryLength,
                                               char* name, int32_t nameLength) {
  std::strncpy(category, "Test", static_cast<size_t>(categoryLength));
  std::strncpy(name, "Crash", static_cast<size_t>(nameLength));
  return name;
}

__declspec(dllexport) int32_t WINAPI PBF_Execute(int32_t, HWND, const uint8_t*, uint8_t*, int32_t,
                                                 const void*, int32_t, int32_t, int32_t, void*,
                                                 int32_t) {
  volatile int32_t* nowhere = nullptr;
  return *nowhere;
}

__declspec(dllexport) int32_t WINAPI PBF_Setup(int32_t, HWND, const uint8_t*, int32_t, int32_t) { return 0; }
}
