// The filter object model: what the registry owns and routes the host's calls to.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/host_types.h"

class Filter {
 public:
  Filter(const char* name, const char* category) : name(name), category(category) {}
  virtual ~Filter() = default;
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;

  // Filters the region of `source` into `destination` (the same layout, rows `width`
  // pixels long). The reserved arguments come from the host and mean nothing here.
  virtual void Execute(HWND window, const uint8_t* source, uint8_t* destination,
                       int32_t reserved5, const PixelRegion* region, int32_t reserved7,
                       int32_t width, int32_t reserved9, const ProgressSink* sink);
  // Lets the user adjust the settings over `image`; 1 when confirmed.
  virtual int Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height);

  // Display texts in the form English|Japanese, code page 932.
  const char* Name() const { return name.c_str(); }
  const char* Category() const { return category.c_str(); }

 private:
  std::string name;
  std::string category;
};
