#pragma once
#include "filters/filter.h"
#include "resources/texts_cp932.h"

class CutLowBitFilter : public Filter {
 public:
  CutLowBitFilter() : Filter(kCutLowBitName, kColorCategory) {}
  void Execute(HWND window, const uint8_t* source, uint8_t* destination, int32_t reserved5,
               const PixelRegion* region, int32_t reserved7, int32_t width, int32_t reserved9,
               const ProgressSink* sink) override;
  // Runs the filter's settings dialog; defined with the dialogs (filter_setups.cpp).
  int Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) override;
};
