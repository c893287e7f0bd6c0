// Takes the README's picture of the Solarization dialog: opens it through PBF_Setup
// over a colourful image and writes the dialog window to a BMP file.
//   tools/wine-run build/win32/bin/dialog_screenshot.exe out.bmp
#include <windows.h>

#include <cmath>
#include <cstdio>

#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// Hue around the centre, brightness along the radius, and a transparent band.
TestImage Rainbow(int width, int height) {
  TestImage image{width, height, {}};
  const double cx = width / 2.0, cy = height / 2.0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const double hue = (std::atan2(y - cy, x - cx) + kPi) / (2 * kPi) * 6;
      const double radius = std::hypot(x - cx, y - cy) / std::hypot(cx, cy);
      const int sector = static_cast<int>(hue) % 6;
      const double f = hue - std::floor(hue);
      const double v = 1.0 - 0.5 * radius, q = v * (1 - f), t = v * f;
      double r = v, g = t, b = 0;
      switch (sector) {
        case 1: r = q, g = v, b = 0; break;
        case 2: r = 0, g = v, b = t; break;
        case 3: r = 0, g = q, b = v; break;
        case 4: r = t, g = 0, b = v; break;
        case 5: r = v, g = 0, b = q; break;
      }
      const uint8_t alpha = x < width / 6 ? static_cast<uint8_t>(255 * x / (width / 6)) : 255;
      image.bytes.insert(image.bytes.end(), {static_cast<uint8_t>(b * 255), static_cast<uint8_t>(g * 255),
                                             static_cast<uint8_t>(r * 255), alpha});
    }
  }
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog_screenshot out.bmp\n");
    return 2;
  }
  PluginLibrary plugin;
  HostWindow host;
  const TestImage image = Rainbow(200, 190);
  bool saved = false;
  DriveDialog([&] { return plugin.Setup(0, host, image.data(), image.width, image.height); },
              {
                  [](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "150"); },
                  [&](HWND d) { saved = SaveWindowBitmap(d, argv[1]); },
                  [](HWND d) { ClickButton(d, IDCANCEL); },
              });
  return saved ? 0 : 1;
}
