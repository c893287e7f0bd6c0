#pragma once
#include "filters/filter.h"
#include "resources/texts_cp932.h"

class CutLowBitFilter : public Filter {
 public:
  CutLowBitFilter() : Filter(kCutLowBitName, kColorCategory) {}
};
