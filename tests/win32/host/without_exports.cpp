// A DLL that looks like a filter plug-in but lacks PBF_Execute and PBF_Setup.
#include <windows.h>

#include <cstdint>

extern "C" __declspec(dllexport) int32_t WINAPI PBF_FilterCount() { return 1; }
