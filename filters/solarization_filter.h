#pragma once
#include "filters/filter.h"
#include "resources/texts_cp932.h"

class SolarizationFilter : public Filter {
 public:
  explicit SolarizationFilter(SettingsDialog dialog = nullptr) : Filter(kSolarizationName, kColorCategory, dialog) {}
  void Execute(HWND window, const uint8_t* source, uint8_t* destination, int32_t reserved5,
               const PixelRegion* region, int32_t reserved7, int32_t width, int32_t reserved9,
               const ProgressSink* sink) override;
};
