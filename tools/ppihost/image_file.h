// Image files read and written through the Windows Imaging Component: PNG, BMP, JPEG
// and TIFF, always exchanged as 32-bit BGRA pixels, rows top to bottom, no gaps (the
// plug-in's buffer layout).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes
};

// Throws HostError (kExitInput) when the file is missing, unreadable or not an image.
// An image without alpha gets alpha 255.
Image ReadImage(const std::wstring& path);

// True when the file name ends in an extension WriteImage can encode.
bool IsWritableImageName(const std::wstring& path);

// Encodes by the extension of `nameForFormat` into `path` (which may be a temporary
// file). Formats without alpha (JPEG) drop it. Throws HostError (kExitOutput).
void WriteImage(const std::wstring& path, const std::wstring& nameForFormat, const Image& image);
