#include "host/test_images.h"

#include <windows.h>
#include <wincodec.h>

#include <cstdio>
#include <algorithm>
#include <map>
#include <vector>

#include "ppihost/com_ref.h"
#include "ppihost/file_handle.h"

namespace {

void Put32Be(std::string& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out += static_cast<char>(v >> shift);
}

uint32_t Crc32(const std::string& bytes) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : bytes) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
  }
  return ~crc;
}

void PngChunk(std::string& file, const char* type, const std::string& data) {
  Put32Be(file, static_cast<uint32_t>(data.size()));
  const std::string typed = type + data;
  file += typed;
  Put32Be(file, Crc32(typed));
}

// Scanlines (each led by filter byte 0) in stored, uncompressed deflate blocks.
std::string Zlib(const std::string& raw) {
  std::string out = "\x78\x01";
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
  size_t done = 0;
  do {
    const size_t n = std::min<size_t>(65535, raw.size() - done);
    out += static_cast<char>(done + n == raw.size() ? 1 : 0);
    out += static_cast<char>(n & 0xFF), out += static_cast<char>(n >> 8);
    out += static_cast<char>(~n & 0xFF), out += static_cast<char>((~n >> 8) & 0xFF);
    out.append(raw, done, n);
    done += n;
  } while (done < raw.size());
  Put32Be(out, (b << 16) | a);
  return out;
}

void WritePng(const std::wstring& path, const Image& image, uint8_t bitDepth, uint8_t colourType,
              const std::string& rows, const std::string& palette, const std::string& alphas) {
  std::string file = "\x89PNG\r\n\x1a\n", header;
  Put32Be(header, static_cast<uint32_t>(image.width));
  Put32Be(header, static_cast<uint32_t>(image.height));
  header += static_cast<char>(bitDepth), header += static_cast<char>(colourType);
  header += std::string(3, '\0');
  PngChunk(file, "IHDR", header);
  if (!palette.empty()) PngChunk(file, "PLTE", palette);
  if (!alphas.empty()) PngChunk(file, "tRNS", alphas);
  PngChunk(file, "IDAT", Zlib(rows));
  PngChunk(file, "IEND", "");
  WriteBytes(path, file);
}

uint32_t Bgra(Pixel p) { return p.b | p.g << 8 | p.r << 16 | static_cast<uint32_t>(p.a) << 24; }

// The distinct pixels in order of appearance, and each pixel's index among them.
struct Indexed {
  std::vector<Pixel> palette;
  std::string indices;
};
Indexed Index(const Image& image) {
  Indexed out;
  std::map<uint32_t, size_t> seen;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      const Pixel p = At(image, x, y);
      auto found = seen.emplace(Bgra(p), out.palette.size());
      if (found.second) out.palette.push_back(p);
      out.indices += static_cast<char>(found.first->second);
    }
  }
  return out;
}

}  // namespace

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
  FileHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written;
  WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::string ReadBytes(const std::wstring& path) {
  std::string bytes;
  FileHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                           nullptr));
  if (!f.Valid()) return "(missing)";
  char buffer[65536];
  DWORD n;
  while (ReadFile(f.Get(), buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  return bytes;
}

HRESULT WriteTwoPageTiff(const std::wstring& path, const Image& first, const Image& second) {
  ComRef<IWICImagingFactory> factory;
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapEncoder> encoder;
  HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWICImagingFactory, reinterpret_cast<void**>(factory.Out()));
  if (SUCCEEDED(hr)) hr = factory->CreateStream(stream.Out());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(GUID_ContainerFormatTiff, nullptr, encoder.Out());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
  for (const Image* page : {&first, &second}) {
    ComRef<IWICBitmapFrameEncode> frame;
    ComRef<IPropertyBag2> options;
    WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.Out(), options.Out());
    if (SUCCEEDED(hr)) hr = frame->Initialize(options.Get());
    if (SUCCEEDED(hr)) hr = frame->SetSize(page->width, page->height);
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    if (SUCCEEDED(hr)) {
      hr = frame->WritePixels(page->height, page->width * 4, static_cast<UINT>(page->pixels.size()),
                              const_cast<BYTE*>(page->pixels.data()));
    }
    if (SUCCEEDED(hr)) hr = frame->Commit();
  }
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  return hr;
}

void WritePalettePng(const std::wstring& path, const Image& image) {
  const Indexed indexed = Index(image);
  std::string palette, alphas, rows;
  for (const Pixel& p : indexed.palette) {
    for (uint8_t v : {p.r, p.g, p.b}) palette += static_cast<char>(v);
    alphas += static_cast<char>(p.a);
  }
  for (int y = 0; y < image.height; ++y) {
    rows += '\0';
    rows.append(indexed.indices, static_cast<size_t>(y) * image.width, image.width);
  }
  WritePng(path, image, 8, 3, rows, palette, alphas);
}

void Write16BitPng(const std::wstring& path, const Image& image) {
  std::string rows;
  for (int y = 0; y < image.height; ++y) {
    rows += '\0';
    for (int x = 0; x < image.width; ++x) {
      const Pixel p = At(image, x, y);
      for (uint8_t v : {p.r, p.g, p.b, p.a}) rows.append(2, static_cast<char>(v));
    }
  }
  WritePng(path, image, 16, 6, rows, "", "");
}

void WriteGif(const std::wstring& path, const Image& image) {
  const Indexed indexed = Index(image);
  int transparent = -1;
  for (size_t i = 0; i < indexed.palette.size(); ++i) {
    if (indexed.palette[i].a == 0) transparent = static_cast<int>(i);
  }
  auto put16 = [](std::string& out, int v) {
    out += static_cast<char>(v & 0xFF), out += static_cast<char>(v >> 8);
  };
  std::string file = "GIF89a";
  put16(file, image.width), put16(file, image.height);
  file += "\xf7";  // a global table of 256 colours
  file += std::string(2, '\0');
  for (size_t i = 0; i < 256; ++i) {
    const Pixel p = i < indexed.palette.size() ? indexed.palette[i] : Pixel{0, 0, 0, 255};
    for (uint8_t v : {p.r, p.g, p.b}) file += static_cast<char>(v);
  }
  if (transparent >= 0) {
    file += "\x21\xf9\x04\x01";
    put16(file, 0);
    file += static_cast<char>(transparent), file += '\0';
  }
  file += '\x2c';
  put16(file, 0), put16(file, 0), put16(file, image.width), put16(file, image.height);
  file += '\0';
  // LZW without compression: 9-bit codes, the table cleared before it would grow them.
  constexpr int kClear = 256, kEnd = 257, kRun = 250;
  std::string codes;
  uint32_t bits = 0;
  int count = 0;
  auto emit = [&](int code) {
    bits |= static_cast<uint32_t>(code) << count;
    for (count += 9; count >= 8; count -= 8, bits >>= 8) codes += static_cast<char>(bits & 0xFF);
  };
  for (size_t i = 0; i < indexed.indices.size(); ++i) {
    if (i % kRun == 0) emit(kClear);
    emit(static_cast<unsigned char>(indexed.indices[i]));
  }
  emit(kEnd);
  if (count > 0) codes += static_cast<char>(bits & 0xFF);
  file += '\x08';
  for (size_t done = 0; done < codes.size(); done += 255) {
    const size_t n = std::min<size_t>(255, codes.size() - done);
    file += static_cast<char>(n);
    file.append(codes, done, n);
  }
  file += '\0';
  file += '\x3b';
  WriteBytes(path, file);
}

Image Apply(const Image& source, const PixelRule& rule, int left, int top,
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
  const std::string sizes = SizeDifference(actual.width, actual.height, expected.width, expected.height);
  if (!sizes.empty()) return sizes;
  for (int y = 0; y < actual.height; ++y) {
    for (int x = 0; x < actual.width; ++x) {
      const Pixel a = At(actual, x, y), e = At(expected, x, y);
      if (a != e) {
        char text[160];
        std::snprintf(text, sizeof text, "pixel (%d,%d) BGRA %d,%d,%d,%d, expected %d,%d,%d,%d", x, y,
                      a.b, a.g, a.r, a.a, e.b, e.g, e.r, e.a);
        return text;
      }
    }
  }
  return {};
}
