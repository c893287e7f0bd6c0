#include "plugin/filter_registry.h"

#include <new>

#include "base/module_handle.h"
#include "dialogs/filter_setups.h"
#include "filters/cut_low_bit_filter.h"
#include "filters/posterization_filter.h"
#include "filters/solarization_filter.h"

namespace {

// Each filter with its settings dialog.
template <class T, SettingsDialog kDialog>
Filter* Create() {
  return new (std::nothrow) T(kDialog);
}

// Registry order is the host's index order.
constexpr FilterRegistry::Factory kFilters[] = {
    &Create<SolarizationFilter, &RunSolarizationDialog>,
    &Create<PosterizationFilter, &RunPosterizationDialog>,
    &Create<CutLowBitFilter, &RunCutLowBitDialog>,
};

FilterRegistry theRegistry;

}  // namespace

FilterRegistry* const Registry = &theRegistry;

FilterRegistry::~FilterRegistry() {
  Clear();
  std::vector<Filter*>().swap(filters);
}

int FilterRegistry::Init(HMODULE moduleHandle) {
  return Init(moduleHandle, kFilters, sizeof kFilters / sizeof kFilters[0]);
}

int FilterRegistry::Init(HMODULE moduleHandle, const Factory* factories, size_t count) {
  UseModuleHandle(moduleHandle);
  Clear();
  if (!Build(factories, count)) return 0;
  for (Filter* f : filters) {
    if (!f) {
      Clear();
      return 0;
    }
  }
  return 1;
}

int FilterRegistry::Build(const Factory* factories, size_t count) {
  try {
    filters.reserve(filters.size() + count);
  } catch (const std::bad_alloc&) {
    return 0;
  }
  for (size_t i = 0; i < count; ++i) filters.push_back(factories[i]());
  return 1;
}

void FilterRegistry::Clear() {
  for (Filter* f : filters) delete f;
  filters.clear();
}

Filter* FilterRegistry::At(int32_t index) const {
  const uint32_t i = static_cast<uint32_t>(index);
  return i < filters.size() ? filters[i] : nullptr;
}

const char* FilterRegistry::Name(int32_t index) const {
  const Filter* f = At(index);
  return f ? f->Name() : "";
}

const char* FilterRegistry::Category(int32_t index) const {
  const Filter* f = At(index);
  return f ? f->Category() : "";
}
