#include "tools/ppihost/image_file.h"

#include <wincodec.h>

#include <cwctype>
#include <limits>
#include <new>

#include "tools/ppihost/com_ref.h"
#include "tools/ppihost/exit_codes.h"
#include "tools/ppihost/host_error.h"
#include "tools/ppihost/system_error.h"

namespace {

struct Container {
  const wchar_t* extension;
  const GUID* format;
};
const Container kContainers[] = {
    {L".png", &GUID_ContainerFormatPng},   {L".bmp", &GUID_ContainerFormatBmp},
    {L".dib", &GUID_ContainerFormatBmp},   {L".jpg", &GUID_ContainerFormatJpeg},
    {L".jpeg", &GUID_ContainerFormatJpeg}, {L".jpe", &GUID_ContainerFormatJpeg},
    {L".tif", &GUID_ContainerFormatTiff},  {L".tiff", &GUID_ContainerFormatTiff},
};

// The plug-in's buffers are addressed with 32-bit offsets.
constexpr uint64_t kMaxPixelBytes = std::numeric_limits<int32_t>::max();

const GUID* ContainerFor(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  const size_t slash = name.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return nullptr;
  std::wstring extension = name.substr(dot);
  for (wchar_t& c : extension) c = static_cast<wchar_t>(std::towlower(c));
  for (const Container& c : kContainers) {
    if (extension == c.extension) return c.format;
  }
  return nullptr;
}

std::wstring HResultText(HRESULT hr) { return SystemMessage(static_cast<DWORD>(hr)); }

void CreateFactory(ComRef<IWICImagingFactory>& factory, int exitCode) {
  const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.Out()));
  if (FAILED(hr)) {
    throw HostError{exitCode, L"the Windows Imaging Component is not available: " + HResultText(hr)};
  }
}

// Whether pixels of this format carry alpha (or a palette that may), so that formats
// without it can be given opaque alpha whatever the converter fills in.
bool FormatHasAlpha(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  ComRef<IWICComponentInfo> info;
  if (FAILED(factory->CreateComponentInfo(format, info.Out()))) return true;
  ComRef<IWICPixelFormatInfo2> formatInfo;
  if (FAILED(info->QueryInterface(IID_IWICPixelFormatInfo2,
                                  reinterpret_cast<void**>(formatInfo.Out())))) {
    return true;
  }
  BOOL transparency = TRUE;
  if (FAILED(formatInfo->SupportsTransparency(&transparency))) return true;
  return transparency != FALSE;
}

}  // namespace

Image ReadImage(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
    throw HostError{kExitInput, L"no image file " + path};
  }
  ComRef<IWICImagingFactory> factory;
  CreateFactory(factory, kExitInput);
  const std::wstring unreadable = L"cannot read " + path + L" as an image (PNG, BMP, JPEG or TIFF)";

  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  HRESULT hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.Out());
  if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.Out());
  UINT width = 0, height = 0;
  if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
  WICPixelFormatGUID format{};
  if (SUCCEEDED(hr)) hr = frame->GetPixelFormat(&format);
  if (FAILED(hr)) throw HostError{kExitInput, unreadable + L": " + HResultText(hr)};
  if (width == 0 || height == 0) throw HostError{kExitInput, path + L" holds an empty image"};
  const uint64_t bytes = uint64_t{width} * height * 4;
  if (bytes > kMaxPixelBytes) throw HostError{kExitInput, path + L" is too large an image"};

  Image image;
  image.width = static_cast<int32_t>(width);
  image.height = static_cast<int32_t>(height);
  try {
    image.pixels.resize(static_cast<size_t>(bytes));
  } catch (const std::bad_alloc&) {
    throw HostError{kExitInput, path + L" is too large an image for the memory available"};
  }

  ComRef<IWICFormatConverter> converter;
  hr = factory->CreateFormatConverter(converter.Out());
  if (SUCCEEDED(hr)) {
    hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                               nullptr, 0.0, WICBitmapPaletteTypeCustom);
  }
  if (SUCCEEDED(hr)) {
    hr = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(bytes), image.pixels.data());
  }
  if (FAILED(hr)) throw HostError{kExitInput, unreadable + L": " + HResultText(hr)};

  if (!FormatHasAlpha(factory.Get(), format)) {
    for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 0xFF;
  }
  return image;
}

bool IsWritableImageName(const std::wstring& path) { return ContainerFor(path) != nullptr; }

void WriteImage(const std::wstring& path, const std::wstring& nameForFormat, const Image& image) {
  const GUID* container = ContainerFor(nameForFormat);
  if (!container) {
    throw HostError{kExitOutput, L"cannot tell the image format of " + nameForFormat +
                                     L" (use .png, .bmp, .jpg or .tif)"};
  }
  ComRef<IWICImagingFactory> factory;
  CreateFactory(factory, kExitOutput);

  const UINT stride = static_cast<UINT>(image.width) * 4;
  const UINT size = static_cast<UINT>(image.pixels.size());
  ComRef<IWICStream> stream;
  ComRef<IWICBitmapEncoder> encoder;
  ComRef<IWICBitmapFrameEncode> frame;
  ComRef<IPropertyBag2> options;
  ComRef<IWICBitmap> bitmap;
  ComRef<IWICFormatConverter> converter;
  // Encoders that cannot store BGRA (JPEG, some BMP writers) answer with the nearest
  // format they can, and the pixels are converted to it.
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;

  HRESULT hr = factory->CreateStream(stream.Out());
  if (SUCCEEDED(hr)) hr = stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(*container, nullptr, encoder.Out());
  if (SUCCEEDED(hr)) hr = encoder->Initialize(stream.Get(), WICBitmapEncoderNoCache);
  if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(frame.Out(), options.Out());
  if (SUCCEEDED(hr)) hr = frame->Initialize(options.Get());
  if (SUCCEEDED(hr)) hr = frame->SetSize(static_cast<UINT>(image.width), static_cast<UINT>(image.height));
  if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
  if (SUCCEEDED(hr)) {
    if (IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA)) {
      hr = frame->WritePixels(static_cast<UINT>(image.height), stride, size,
                              const_cast<BYTE*>(image.pixels.data()));
    } else {
      hr = factory->CreateBitmapFromMemory(static_cast<UINT>(image.width),
                                           static_cast<UINT>(image.height),
                                           GUID_WICPixelFormat32bppBGRA, stride, size,
                                           const_cast<BYTE*>(image.pixels.data()), bitmap.Out());
      if (SUCCEEDED(hr)) hr = factory->CreateFormatConverter(converter.Out());
      if (SUCCEEDED(hr)) {
        hr = converter->Initialize(bitmap.Get(), format, WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeMedianCut);
      }
      if (SUCCEEDED(hr)) hr = frame->WriteSource(converter.Get(), nullptr);
    }
  }
  if (SUCCEEDED(hr)) hr = frame->Commit();
  if (SUCCEEDED(hr)) hr = encoder->Commit();
  if (FAILED(hr)) throw HostError{kExitOutput, L"cannot write " + nameForFormat + L": " + HResultText(hr)};
}
