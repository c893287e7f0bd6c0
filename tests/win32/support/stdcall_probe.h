// Calls a function with 32-bit arguments pushed right to left and measures how many
// bytes of them the callee removed from the stack (4 per argument for WINAPI).
#pragma once
#include <cstdint>

extern "C" uint32_t MeasureCall(const void* function, const uint32_t* args, int count,
                                int* bytesPopped);
