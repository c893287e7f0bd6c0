// Image files read and written through the Windows Imaging Component: PNG, BMP, JPEG,
// TIFF and (read only) GIF, always exchanged as 32-bit BGRA pixels, rows top to bottom,
// no gaps (the plug-in's buffer layout).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "ppihost/pixel_gate.h"

struct Image {
  int32_t width = 0;
  int32_t height = 0;
  std::vector<uint8_t> pixels;  // width * height * 4 bytes
  // What the file held beyond these pixels, so that a caller can tell what a copy
  // would lose: the number of frames (pages) and the bits of its widest channel.
  uint32_t frames = 1;
  uint32_t bitsPerChannel = 8;
};

// The first frame. Throws HostError (kExitInput) when the file is missing, unreadable
// or not an image. An image without alpha gets alpha 255; a palette image keeps the
// alpha of its palette (a PNG's transparent entries, a GIF's transparent colour). With
// a `gate`, the pixels are decoded only once it lets them.
Image ReadImage(const std::wstring& path, PixelGate* gate = nullptr);

// Throws HostError (kExitOutput) unless the file name ends in an extension EncodeImage
// can encode.
void CheckWritableImageName(const std::wstring& path);
// True when that format keeps alpha (PNG, TIFF); BMP and JPEG do not.
bool HoldsAlpha(const std::wstring& path);

// The formats an output can have, by name: "png, bmp, jpeg or tiff".
std::wstring WrittenFormats(const wchar_t* separator, const wchar_t* lastSeparator);
// The extension that --format FORMAT gives the outputs, ".jpg" for "jpeg" or "JPG".
// Throws HostError (kExitUsage) for a format that cannot be written.
std::wstring ExtensionOfFormat(const std::wstring& format);

// The whole file, encoded in memory by the extension of `nameForFormat`. Formats
// without alpha drop it and keep the colours as they are. Throws HostError (kExitOutput).
std::vector<uint8_t> EncodeImage(const std::wstring& nameForFormat, const Image& image);
