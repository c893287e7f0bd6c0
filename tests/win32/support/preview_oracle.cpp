#include "support/preview_oracle.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "resources/resource.h"

TestImage ColourfulImage(int width, int height) {
  TestImage image{width, height, {}};
  image.bytes.resize(static_cast<size_t>(width) * height * 4);
  static const uint8_t kAlphas[] = {255, 255, 0, 128, 255, 64, 200, 255, 1, 254};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* p = &image.bytes[(static_cast<size_t>(y) * width + x) * 4];
      p[0] = static_cast<uint8_t>(x * 7 + y);
      p[1] = static_cast<uint8_t>(y * 5 + x / 3);
      p[2] = static_cast<uint8_t>((x + y) * 3);
      p[3] = kAlphas[(x / 5 + y / 7) % 10];
    }
  }
  return image;
}

TestImage UniformImage(int width, int height, uint8_t b, uint8_t g, uint8_t r, uint8_t a) {
  TestImage image{width, height, {}};
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    image.bytes.insert(image.bytes.end(), {b, g, r, a});
  }
  return image;
}

uint32_t WindowFill() {
  const COLORREF c = GetSysColor(COLOR_WINDOW);
  return (static_cast<uint32_t>(GetRValue(c)) << 16) | (static_cast<uint32_t>(GetGValue(c)) << 8) |
         GetBValue(c);
}

namespace {
// Squares of 8: white where the square's column and row numbers have the same parity.
int Board(int x, int y) { return ((x / 8) % 2 == (y / 8) % 2) ? 255 : 192; }
int Over(int back, int v, int a) { return (back * (255 - a) + v * a) / 255; }
}  // namespace

PanePicture ExpectedPane(int paneWidth, int paneHeight, const TestImage& image,
                         const PixelRule& rule, int scrollX, int scrollY, int zoom) {
  PanePicture p;
  p.width = paneWidth;
  p.height = paneHeight;
  p.pixels.assign(static_cast<size_t>(paneWidth) * paneHeight, WindowFill());
  // At 1:zoom the image takes this many pane pixels, a partial block a whole one.
  const int shownWidth = (image.width + zoom - 1) / zoom, shownHeight = (image.height + zoom - 1) / zoom;
  const bool fitsX = shownWidth <= paneWidth, fitsY = shownHeight <= paneHeight;
  const int left = fitsX ? (paneWidth - shownWidth) / 2 : -scrollX;
  const int top = fitsY ? (paneHeight - shownHeight) / 2 : -scrollY;
  for (int y = 0; y < paneHeight; ++y) {
    for (int x = 0; x < paneWidth; ++x) {
      const int bx = x - left, by = y - top;
      if (bx < 0 || by < 0 || bx >= shownWidth || by >= shownHeight) continue;
      // The block's pixels, each filtered and laid over this pane pixel's square,
      // averaged and rounded to nearest.
      const int back = Board(x, y);
      int sum[3] = {}, count = 0;
      for (int iy = by * zoom; iy < std::min(by * zoom + zoom, image.height); ++iy) {
        for (int ix = bx * zoom; ix < std::min(bx * zoom + zoom, image.width); ++ix, ++count) {
          const Pixel s = image.At(ix, iy);
          const Pixel c = rule(s);
          sum[0] += Over(back, c.b, s.a);
          sum[1] += Over(back, c.g, s.a);
          sum[2] += Over(back, c.r, s.a);
        }
      }
      const auto mean = [count](int total) { return static_cast<uint32_t>((2 * total + count) / (2 * count)); };
      p.pixels[static_cast<size_t>(y) * paneWidth + x] = (mean(sum[2]) << 16) | (mean(sum[1]) << 8) | mean(sum[0]);
    }
  }
  return p;
}

std::string ComparePictures(const PanePicture& actual, const PanePicture& expected) {
  const std::string sizes = SizeDifference(actual.width, actual.height, expected.width, expected.height);
  if (!sizes.empty()) return sizes;
  size_t differing = 0, first = 0;
  for (size_t i = 0; i < actual.pixels.size(); ++i) {
    if (actual.pixels[i] != expected.pixels[i] && differing++ == 0) first = i;
  }
  if (!differing) return "";
  char text[160];
  std::snprintf(text, sizeof text, "%zu pixels differ; first at (%d, %d): %06X, expected %06X",
                differing, static_cast<int>(first % actual.width), static_cast<int>(first / actual.width),
                actual.pixels[first], expected.pixels[first]);
  return text;
}

HWND PreviewPane(HWND dialog) { return GetDlgItem(dialog, IDC_PREVIEW_PANE); }

SIZE PaneClientSize(HWND dialog) {
  RECT client{};
  GetClientRect(PreviewPane(dialog), &client);
  return SIZE{client.right, client.bottom};
}

int ForEachOpaquePixel(const TestImage& image, const PanePicture& picture,
                       const std::function<void(int, int, const uint8_t*, uint32_t)>& check) {
  const int left = (picture.width - image.width) / 2, top = (picture.height - image.height) / 2;
  int opaque = 0;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const uint8_t* s = &image.bytes[(static_cast<size_t>(y) * image.width + x) * 4];
      if (s[3] != 255) continue;
      ++opaque;
      check(x, y, s, picture.At(left + x, top + y));
      // One failed assertion is enough to say the picture is wrong.
      if (::testing::Test::HasFatalFailure()) return opaque;
    }
  }
  return opaque;
}

std::string PaneDiffers(HWND dialog, const TestImage& image, const PixelRule& rule, int scrollX,
                        int scrollY, int zoom) {
  const SIZE size = PaneClientSize(dialog);
  return ComparePictures(CapturePane(PreviewPane(dialog)),
                         ExpectedPane(size.cx, size.cy, image, rule, scrollX, scrollY, zoom));
}
