#include "filters/solarization_filter.h"

int SolarizationFilter::Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  return Filter::Setup(parent, image, width, height);
}
