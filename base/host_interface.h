// The five exports as a host calls them: looked up by name, callee-pops.
#pragma once
#include <windows.h>

#include <cstdint>

#include "base/host_types.h"

using PB_GetPluginInfoFn = int16_t(WINAPI*)(char* buffer, int32_t length);
using PBF_FilterCountFn = int32_t(WINAPI*)();
using PBF_GetNameFn = char*(WINAPI*)(int32_t index, char* category, int32_t categoryLength,
                                     char* name, int32_t nameLength);
using PBF_ExecuteFn = int32_t(WINAPI*)(int32_t index, HWND window, const uint8_t* source,
                                       uint8_t* destination, int32_t reserved5,
                                       const PixelRegion* region, int32_t reserved7,
                                       int32_t width, int32_t reserved9,
                                       ProgressCallback callback, int32_t userData);
using PBF_SetupFn = int32_t(WINAPI*)(int32_t index, HWND parent, const uint8_t* image,
                                     int32_t width, int32_t height);
