#include "filters/solarization_filter.h"

#include "filters/active_rows.h"
#include "filters/filter_error.h"
#include "filters/pixel_rules.h"
#include "filters/region_walk.h"
#include "filters/row_stores.h"
#include "settings/settings_file.h"

void SolarizationFilter::Execute(HWND window, const uint8_t* source, uint8_t* destination,
                                 int32_t, const PixelRegion* region, int32_t, int32_t width,
                                 int32_t, const ProgressSink* sink) {
  const SolarizationSettings settings = ReadSolarizationSettings();
  if (!IsValid(settings)) {
    ReportFilterError(window, kInvalidSettingsMessage);
    return;
  }
  const uint32_t threshold = ScaledThreshold(settings.threshold);
  const RowStores stores = ChooseRowStores(source, destination, *region);
  const FilterRows& rows = ActiveRows();
  WalkRegion(source, destination, *region, width, sink,
             [&](const uint8_t* src, uint8_t* dst, int32_t count) {
               rows.solarize(src, dst, count, threshold, settings.channel, stores);
             });
}
