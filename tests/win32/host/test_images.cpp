#include "host/test_images.h"

#include <cstdio>
#include <windows.h>

Image TestPicture(int width, int height, bool withAlpha) {
  Image image;
  image.width = width;
  image.height = height;
  image.pixels.resize(static_cast<size_t>(width) * height * 4);
  const Pixel fixed[] = {{200, 255, 255, 255}, {200, 200, 200, 128}, {255, 255, 255, 0},
                         {0, 0, 0, 255},       {100, 32, 31, 64},    {1, 2, 127, 200}};
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int i = y * width + x;
      Pixel p{static_cast<uint8_t>(x * 37 + y * 71), static_cast<uint8_t>(x * 101 + y * 13 + 40),
              static_cast<uint8_t>(255 - x * 23 - y * 59), static_cast<uint8_t>(x * 29 + y * 83)};
      if (i < static_cast<int>(sizeof fixed / sizeof fixed[0])) p = fixed[i];
      if (!withAlpha) p.a = 255;
      uint8_t* out = &image.pixels[static_cast<size_t>(i) * 4];
      out[0] = p.b, out[1] = p.g, out[2] = p.r, out[3] = p.a;
    }
  }
  return image;
}

void WriteBmp(const std::wstring& path, const Image& image, int bitsPerPixel) {
  const uint32_t pixelBytes = static_cast<uint32_t>(bitsPerPixel) / 8;
  const uint32_t rowBytes = (static_cast<uint32_t>(image.width) * pixelBytes + 3) & ~3u;
  const uint32_t dataBytes = rowBytes * static_cast<uint32_t>(image.height);
  std::string file;
  auto put16 = [&](uint16_t v) { file.append(reinterpret_cast<const char*>(&v), 2); };
  auto put32 = [&](uint32_t v) { file.append(reinterpret_cast<const char*>(&v), 4); };
  file += "BM";
  put32(54 + dataBytes), put32(0), put32(54);
  put32(40), put32(static_cast<uint32_t>(image.width)), put32(static_cast<uint32_t>(image.height));
  put16(1), put16(static_cast<uint16_t>(bitsPerPixel)), put32(0), put32(dataBytes), put32(2835),
      put32(2835), put32(0), put32(0);
  for (int y = image.height - 1; y >= 0; --y) {  // bottom row first
    std::string row;
    for (int x = 0; x < image.width; ++x) {
      const Pixel p = At(image, x, y);
      row += static_cast<char>(p.b), row += static_cast<char>(p.g), row += static_cast<char>(p.r);
      if (pixelBytes == 4) row += '\0';
    }
    row.resize(rowBytes, '\0');
    file += row;
  }
  WriteBytes(path, file);
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  DWORD written;
  WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(f);
}

Pixel SolarizeDefault(Pixel p) { return ExpectedSolarization(p, 230, 0); }
Pixel PosterizeDefault(Pixel p) { return ExpectedPosterization(p, 8); }
Pixel CutLowBitDefault(Pixel p) { return ExpectedCutLowBit(p, 1, 1, 1); }

Image Apply(const Image& source, const std::function<Pixel(Pixel)>& rule, int left, int top,
            int right, int bottom) {
  Image out = source;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const Pixel p = rule(At(source, x, y));
      uint8_t* o = &out.pixels[(static_cast<size_t>(y) * out.width + x) * 4];
      o[0] = p.b, o[1] = p.g, o[2] = p.r, o[3] = p.a;
    }
  }
  return out;
}

std::string FirstDifference(const Image& actual, const Image& expected) {
  char text[160];
  if (actual.width != expected.width || actual.height != expected.height) {
    std::snprintf(text, sizeof text, "size %dx%d, expected %dx%d", actual.width, actual.height,
                  expected.width, expected.height);
    return text;
  }
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const Pixel a = At(actual, x, y), e = At(expected, x, y);
      if (a != e) {
        std::snprintf(text, sizeof text, "pixel (%d,%d) BGRA %d,%d,%d,%d, expected %d,%d,%d,%d", x, y,
                      a.b, a.g, a.r, a.a, e.b, e.g, e.r, e.a);
        return text;
      }
    }
  }
  return {};
}
