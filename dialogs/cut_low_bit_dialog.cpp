#include "filters/cut_low_bit_filter.h"

int CutLowBitFilter::Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  return Filter::Setup(parent, image, width, height);
}
