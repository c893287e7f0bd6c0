// Each filter's settings dialog, as the registry hands it to the filter.
#pragma once
#include <windows.h>

#include <cstdint>

int RunSolarizationDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height);
int RunPosterizationDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height);
int RunCutLowBitDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height);
