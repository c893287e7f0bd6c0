#include "filters/cut_low_bit_filter.h"

#include "filters/active_rows.h"
#include "filters/filter_error.h"
#include "filters/pixel_rules.h"
#include "filters/region_walk.h"
#include "filters/row_stores.h"
#include "settings/settings_file.h"

void CutLowBitFilter::Execute(HWND window, const uint8_t* source, uint8_t* destination,
                              int32_t, const PixelRegion* region, int32_t, int32_t width,
                              int32_t, const ProgressSink* sink) {
  const CutLowBitSettings settings = ReadCutLowBitSettings();
  if (!IsValid(settings)) {
    ReportFilterError(window, kInvalidSettingsMessage);
    return;
  }
  // Nothing to clear: the destination stays as the host provided it, without progress.
  if (settings.rmask == 0 && settings.gmask == 0 && settings.bmask == 0) return;
  const uint8_t red = LowBitMask[settings.rmask];
  const uint8_t green = LowBitMask[settings.gmask];
  const uint8_t blue = LowBitMask[settings.bmask];
  const RowStores stores = ChooseRowStores(source, destination, *region);
  const FilterRows& rows = ActiveRows();
  WalkRegion(source, destination, *region, width, sink,
             [&](const uint8_t* src, uint8_t* dst, int32_t count) {
               rows.cutLowBits(src, dst, count, red, green, blue, stores);
             });
}
