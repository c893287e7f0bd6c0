#include "filters/filter.h"

void Filter::Execute(HWND, const uint8_t*, uint8_t*, int32_t, const PixelRegion*, int32_t,
                     int32_t, int32_t, const ProgressSink*) {}

int Filter::Setup(HWND, const uint8_t*, int32_t, int32_t) { return 1; }
