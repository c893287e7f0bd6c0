#pragma once
#include "filters/filter.h"
#include "resources/texts_cp932.h"

class PosterizationFilter : public Filter {
 public:
  PosterizationFilter() : Filter(kPosterizationName, kColorCategory) {}
};
