#include "filters/filter.h"

void Filter::Execute(HWND, const uint8_t*, uint8_t*, int32_t, const PixelRegion*, int32_t,
                     int32_t, int32_t, const ProgressSink*) {}

int Filter::Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  return dialog ? dialog(parent, image, width, height) : 1;
}
