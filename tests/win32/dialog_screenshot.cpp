// Takes the documentation's pictures of the three dialogs, and of one zoomed out to fit: opens
// each through PBF_Setup over a colourful image, sets a value and writes the dialog
// window to FOLDER\NAME.bmp; names on standard output each label that does not fit its
// rectangle.
//   tools/dialog_screenshots.sh (which converts them to docs/*.png)
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "support/keyboard_and_spies.h"
#include "base/win32_handles.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {
constexpr double kPi = 3.14159265358979323846;

// Smooth colour ramps fading to transparent at the right, where the filters' steps are
// easy to see.
TestImage RampImage(int width, int height) {
  TestImage image{width, height, {}};
  image.bytes.resize(static_cast<size_t>(width) * height * 4);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &image.bytes[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>(255 * y / height);
      p[1] = static_cast<uint8_t>(255 * x / width);
      p[2] = static_cast<uint8_t>(255 - 255 * (x + y) / (width + height));
      p[3] = static_cast<uint8_t>(x < width * 3 / 4 ? 255 : 255 - 1020 * (x - width * 3 / 4) / width);
    }
  }
  return image;
}

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

struct Picture {
  const char* name;
  int32_t filterIndex;
  TestImage image;
  std::vector<DialogStep> settings;
  bool reportLabels = true;  // once per template is enough
};

// Names each static label whose text, drawn as the control draws it (word-wrapped in
// its rectangle), needs more lines than the rectangle holds: the reader of the pictures
// sees it cut.
void ReportClippedLabels(HWND dialog, const char* name) {
  RECT units{0, 0, 4, 8};
  MapDialogRect(dialog, &units);  // pixels per 4 horizontal dialog units
  for (HWND control = GetWindow(dialog, GW_CHILD); control; control = GetWindow(control, GW_HWNDNEXT)) {
    wchar_t className[16] = {}, text[64] = {};
    GetClassNameW(control, className, 16);
    const LONG style = GetWindowLongW(control, GWL_STYLE);
    if (lstrcmpiW(className, L"Static") != 0 || (style & SS_TYPEMASK) != SS_LEFT ||
        GetWindowTextW(control, text, 64) == 0)
      continue;
    RECT box;
    GetClientRect(control, &box);
    WindowDc dc(control);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT wrapped{0, 0, box.right, 0}, line{0, 0, 0, 0};
    DrawTextW(dc, text, -1, &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    DrawTextW(dc, text, -1, &line, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(dc, old);
    if (wrapped.bottom <= box.bottom) continue;
    char utf8[256];
    WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
    std::printf("%s: \"%s\" needs %ld px, its rectangle is %ld px (%ld dialog units) wide\n", name, utf8,
                static_cast<long>(line.right), static_cast<long>(box.right),
                static_cast<long>(box.right * 4 / units.right));
  }
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: dialog_screenshot FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  const Picture pictures[] = {
      {"solarization_dialog", 0, Rainbow(200, 190),
       {[](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "150"); }}},
      {"posterization_dialog", 1, RampImage(160, 150),
       {[](HWND d) { TypeKeys(d, IDC_DIVISION_EDIT, "4", true); }}},
      {"cut_low_bit_dialog", 2, RampImage(160, 150),
       {[](HWND d) {
         TypeKeys(d, IDC_RED_BITS_EDIT, "6", true);
         ClickButton(d, IDC_LINK_CHECK);
         TypeKeys(d, IDC_BLUE_BITS_EDIT, "3", true);
       }}},
      // The whole of a picture far larger than the pane, by a double-click.
      {"posterization_fit_dialog", 1, Rainbow(1600, 1200),
       {[](HWND d) {
         TypeKeys(d, IDC_DIVISION_EDIT, "6", true);
         DoubleClick(PreviewPane(d), 10, 10);
       }},
       false},
  };
  PluginLibrary plugin;
  HostWindow host;
  int failed = 0;
  for (const Picture& p : pictures) {
    bool saved = false;
    std::vector<DialogStep> steps = p.settings;
    if (p.reportLabels) steps.push_back([&](HWND d) { ReportClippedLabels(d, p.name); });
    steps.push_back([&](HWND d) { saved = SaveWindowBitmap(d, folder + "\\" + p.name + ".bmp"); });
    steps.push_back(Cancel);
    DriveDialog([&] { return plugin.Setup(p.filterIndex, host, p.image.data(), p.image.width, p.image.height); },
                std::move(steps));
    if (!saved) {
      std::fprintf(stderr, "dialog_screenshot: no picture of %s\n", p.name);
      ++failed;
    }
  }
  return failed ? 1 : 0;
}
