// The host's own export, which plug-ins look up in the main program by name: a filter
// calls it with (5, 0) before telling the user about an error.
#include <windows.h>

#include <cstdint>

#include "base/host_interface.h"

extern "C" __declspec(dllexport) int32_t WINAPI PBF_QueryClientInfo(int32_t, int32_t) { return 0; }
