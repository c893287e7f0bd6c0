#pragma once
#include "filters/filter.h"
#include "resources/texts_cp932.h"

class SolarizationFilter : public Filter {
 public:
  SolarizationFilter() : Filter(kSolarizationName, kColorCategory) {}
};
