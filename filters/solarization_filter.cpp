#include "filters/solarization_filter.h"

void SolarizationFilter::Execute(HWND window, const uint8_t* source, uint8_t* destination,
                         int32_t reserved5, const PixelRegion* region, int32_t reserved7,
                         int32_t width, int32_t reserved9, const ProgressSink* sink) {
  Filter::Execute(window, source, destination, reserved5, region, reserved7, width, reserved9, sink);
}
