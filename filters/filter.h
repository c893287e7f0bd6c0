// The filter object model: what the registry owns and routes the host's calls to.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/host_types.h"

// Runs a filter's settings dialog over the host's image; 1 when the user confirmed it.
// The dialogs sit a floor above the filters, so the registry hands each filter its own.
using SettingsDialog = int (*)(HWND parent, const uint8_t* image, int32_t width, int32_t height);

class Filter {
 public:
  Filter(const char* name, const char* category, SettingsDialog dialog = nullptr)
      : name(name), category(category), dialog(dialog) {}
  virtual ~Filter() = default;
  Filter(const Filter&) = delete;
  Filter& operator=(const Filter&) = delete;

  // Filters the region of `source` into `destination` (the same layout, rows `width`
  // pixels long). The reserved arguments come from the host and mean nothing here.
  virtual void Execute(HWND window, const uint8_t* source, uint8_t* destination,
                       int32_t reserved5, const PixelRegion* region, int32_t reserved7,
                       int32_t width, int32_t reserved9, const ProgressSink* sink);
  // Lets the user adjust the settings over `image` in the filter's dialog; 1 when
  // confirmed, and at once when the filter was given none.
  virtual int Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height);

  // Display texts in the form English|Japanese, code page 932.
  const char* Name() const { return name.c_str(); }
  const char* Category() const { return category.c_str(); }

 private:
  std::string name;
  std::string category;
  SettingsDialog dialog;
};
