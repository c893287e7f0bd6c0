// The interface between a host and a filter plug-in, declared once for both sides: the
// plug-in's five exports, which the plug-in defines against these declarations (a
// definition that differs from them does not compile), and the function the host
// exports for its plug-ins. A host looks all of them up by name; all are callee-pops.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/host_types.h"

extern "C" {

// --- the plug-in's exports ----------------------------------------------------------

// The maker's line; the host reads only the low 16 bits of the result.
int16_t WINAPI PB_GetPluginInfo(char* buffer, int32_t length);
int32_t WINAPI PBF_FilterCount();
// Category and name of filter `index` (strncpy semantics); returns `name`.
char* WINAPI PBF_GetName(int32_t index, char* category, int32_t categoryLength, char* name,
                         int32_t nameLength);
int32_t WINAPI PBF_Execute(int32_t index, HWND window, const uint8_t* source,
                           uint8_t* destination, int32_t reserved5, const PixelRegion* region,
                           int32_t reserved7, int32_t width, int32_t reserved9,
                           ProgressCallback callback, int32_t userData);
// 1 when the user confirmed the settings.
int32_t WINAPI PBF_Setup(int32_t index, HWND parent, const uint8_t* image, int32_t width,
                         int32_t height);

// --- the host's export, found through the main program's module -----------------------

int32_t WINAPI PBF_QueryClientInfo(int32_t code, int32_t argument);

}  // extern "C"

// The same functions as a host holds them after GetProcAddress.
using PB_GetPluginInfoFn = decltype(&PB_GetPluginInfo);
using PBF_FilterCountFn = decltype(&PBF_FilterCount);
using PBF_GetNameFn = decltype(&PBF_GetName);
using PBF_ExecuteFn = decltype(&PBF_Execute);
using PBF_SetupFn = decltype(&PBF_Setup);
using PBF_QueryClientInfoFn = decltype(&PBF_QueryClientInfo);
