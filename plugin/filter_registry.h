// The ordered list of the module's filters.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "filters/filter.h"

class FilterRegistry {
 public:
  using Factory = Filter* (*)();  // null when the allocation fails

  FilterRegistry() = default;
  ~FilterRegistry();
  FilterRegistry(const FilterRegistry&) = delete;
  FilterRegistry& operator=(const FilterRegistry&) = delete;

  // Process attach: names the module for ModuleHandle() and creates the filters; 0
  // when any of them could not be created (the module then refuses to load).
  int Init(HMODULE module);
  int Init(HMODULE module, const Factory* factories, size_t count);
  int Build(const Factory* factories, size_t count);
  void Clear();

  int32_t Count() const { return static_cast<int32_t>(filters.size()); }
  // The filter at a host index, or null when the index, taken as unsigned, is out of range.
  Filter* At(int32_t index) const;
  const char* Name(int32_t index) const;
  const char* Category(int32_t index) const;

 private:
  std::vector<Filter*> filters;
};

extern FilterRegistry* const Registry;
