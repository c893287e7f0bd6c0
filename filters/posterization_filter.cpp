#include "filters/posterization_filter.h"

#include "filters/active_rows.h"
#include "filters/filter_error.h"
#include "filters/region_walk.h"
#include "filters/row_stores.h"
#include "settings/settings_file.h"

void PosterizationFilter::Execute(HWND window, const uint8_t* source, uint8_t* destination,
                                  int32_t, const PixelRegion* region, int32_t, int32_t width,
                                  int32_t, const ProgressSink* sink) {
  const PosterizationSettings settings = ReadPosterizationSettings();
  if (!IsValid(settings)) {  // also keeps the divisor n - 1 above 0
    ReportFilterError(window, kInvalidSettingsMessage);
    return;
  }
  const uint32_t levels = static_cast<uint32_t>(settings.division);
  const RowStores stores = ChooseRowStores(source, destination, *region);
  const FilterRows& rows = ActiveRows();
  WalkRegion(source, destination, *region, width, sink,
             [&](const uint8_t* src, uint8_t* dst, int32_t count) {
               rows.posterize(src, dst, count, levels, stores);
             });
}
