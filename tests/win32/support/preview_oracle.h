// What a preview pane must show, worked out independently of the module: the image
// centred (or scrolled) over an 8-pixel checkerboard, composited by alpha, the rest in
// the window colour.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "support/dialog_driver.h"
#include "tests/reference/filter_reference.h"

// A colourful image whose pixels all differ along both axes, with alpha ranging over
// 0, 255 and values between.
TestImage ColourfulImage(int width, int height);
// Every pixel the same.
TestImage UniformImage(int width, int height, uint8_t b, uint8_t g, uint8_t r, uint8_t a);

inline Pixel Unchanged(Pixel p) { return p; }

// The window colour as the pane's buffer holds it, 0x00RRGGBB.
uint32_t WindowFill();

// The picture of a pane of the given size showing `image` through `rule` at 1:zoom,
// with its top-left visible block at (scrollX, scrollY) along axes where the zoomed
// image is larger than the pane. A pane pixel shows the rounded mean of its block's
// pixels, each filtered and composited over the pixel's board square.
// `rule`'s alpha is not used: the pane blends by the image's own.
PanePicture ExpectedPane(int paneWidth, int paneHeight, const TestImage& image,
                         const PixelRule& rule, int scrollX = 0, int scrollY = 0, int zoom = 1);

// "" when equal, else where they first differ and how many pixels do.
std::string ComparePictures(const PanePicture& actual, const PanePicture& expected);

// The preview pane of a filter dialog, and its client size.
HWND PreviewPane(HWND dialog);
SIZE PaneClientSize(HWND dialog);

// Calls `check(x, y, source, shown)` for each opaque pixel of `image`, centred in
// `picture` as the pane shows an image that fits: `source` is its BGRA bytes, `shown`
// the pane's 0x00RRGGBB there. Returns how many pixels were opaque.
int ForEachOpaquePixel(const TestImage& image, const PanePicture& picture,
                       const std::function<void(int x, int y, const uint8_t* source, uint32_t shown)>& check);

// Channel k (0 blue, 1 green, 2 red) of a pane pixel.
inline int PaneChannel(uint32_t shown, int k) { return (shown >> (8 * k)) & 0xFF; }

// "" when the preview pane of `dialog` shows what ExpectedPane works out for a pane of
// its client size, else how it differs.
std::string PaneDiffers(HWND dialog, const TestImage& image, const PixelRule& rule,
                        int scrollX = 0, int scrollY = 0, int zoom = 1);
