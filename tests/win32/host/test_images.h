// Small pictures for the host's tests, and the filters' rules (tests/reference) applied
// to them as the oracle the host's output is checked against.
#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "tests/reference/filter_reference.h"
#include "ppihost/image_file.h"

inline Pixel At(const Image& image, int x, int y) {
  const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
  return {p[0], p[1], p[2], p[3]};
}

// A picture with a spread of colours and alphas, including the rules' edge values:
// (255, 255, 200) and grey 200 around the solarization threshold, white and black.
Image TestPicture(int width, int height, bool withAlpha);

void WriteBytes(const std::wstring& path, const std::string& bytes);
// The file's bytes, or "(missing)".
std::string ReadBytes(const std::wstring& path);

// Writes a bottom-up BMP without alpha byte by byte, independently of the host's
// encoder: 24 bits per pixel, or 32 with the unused fourth byte 0 as many programs
// write it.
void WriteBmp(const std::wstring& path, const Image& image, int bitsPerPixel);

// Palette images written byte by byte, independently of the host's decoder: a PNG
// with a tRNS chunk that gives every palette entry its alpha, and a GIF whose pixels of
// alpha 0 (all of one colour) take its transparent index; other alphas must be 255.
// Each has one palette entry per distinct pixel (at most 256).
void WritePalettePng(const std::wstring& path, const Image& image);
void WriteGif(const std::wstring& path, const Image& image);
// A PNG of 16 bits per channel with alpha, each 8-bit value v stored as v * 257.
void Write16BitPng(const std::wstring& path, const Image& image);
// A TIFF of two pages, through the imaging component's own encoder (COM must be
// initialised).
HRESULT WriteTwoPageTiff(const std::wstring& path, const Image& first, const Image& second);

// Applies `rule` to the pixels inside [left, right) x [top, bottom).
Image Apply(const Image& source, const PixelRule& rule, int left, int top,
            int right, int bottom);
inline Image Apply(const Image& source, const PixelRule& rule) {
  return Apply(source, rule, 0, 0, source.width, source.height);
}

// "" when equal, else where and how the first difference shows.
std::string FirstDifference(const Image& actual, const Image& expected);
