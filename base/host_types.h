// Types shared with the host across the plug-in boundary. Platform-free: the core
// that uses them is also built natively for tests.
#pragma once
#include <cstdint>

// The host's progress callback is callee-pops (WINAPI) on 32-bit x86; elsewhere
// (the native test build) there is only one convention.
#if defined(__i386__) || defined(_M_IX86)
#define HOST_CALL __attribute__((stdcall))
#else
#define HOST_CALL
#endif

// Columns left..right-1 and rows top..bottom-1; laid out as the platform's RECT.
struct PixelRegion {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

using ProgressCallback = int32_t(HOST_CALL*)(int32_t position, int32_t maximum,
                                             int32_t userData);

// Built by PBF_Execute for one run; the callback may be null.
struct ProgressSink {
  int32_t userData;
  ProgressCallback callback;
};

inline constexpr int32_t kProgressMaximum = 10000;
