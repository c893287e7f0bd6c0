// The module's exports, for white-box tests that link the module's objects.
#pragma once
#include <windows.h>

#include <cstdint>

extern "C" {
int32_t WINAPI PBF_Setup(int32_t index, HWND parent, const uint8_t* image, int32_t width,
                         int32_t height);
}
