#include "ppihost/image_file.h"

#include <wincodec.h>

#include <limits>
#include <new>

#include "ppihost/com_ref.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/path_names.h"
#include "ppihost/system_message.h"

namespace {

// The formats ppihost knows, in the order it names them.
struct Container {
  const wchar_t* name;  // for --format, and in capitals in messages
  const wchar_t* extensions[3];  // the first is the one given to an output, and a --format too
  const GUID* format;
  bool holdsAlpha;
  bool written;  // false: read only
};
const Container kContainers[] = {
    {L"png", {L".png"}, &GUID_ContainerFormatPng, true, true},
    {L"bmp", {L".bmp", L".dib"}, &GUID_ContainerFormatBmp, false, true},
    {L"jpeg", {L".jpg", L".jpeg", L".jpe"}, &GUID_ContainerFormatJpeg, false, true},
    {L"tiff", {L".tif", L".tiff"}, &GUID_ContainerFormatTiff, true, true},
    {L"gif", {L".gif"}, &GUID_ContainerFormatGif, true, false},
};

// "a, b or c" of the formats `written` or all, each as `text` gives it.
template <class Text>
std::wstring FormatList(bool writtenOnly, const wchar_t* separator, const wchar_t* lastSeparator, Text text) {
  std::vector<std::wstring> items;
  for (const Container& c : kContainers) {
    if (c.written || !writtenOnly) items.push_back(text(c));
  }
  std::wstring list;
  for (size_t i = 0; i < items.size(); ++i) {
    list += (i == 0 ? L"" : i + 1 == items.size() ? lastSeparator : separator) + items[i];
  }
  return list;
}

// The plug-in's buffers are addressed with 32-bit offsets.
constexpr uint64_t kMaxPixelBytes = std::numeric_limits<int32_t>::max();

const Container* ContainerFor(const std::wstring& name) {
  const size_t dot = name.find_last_of(L'.');
  const size_t slash = name.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return nullptr;
  const std::wstring extension = FoldCase(name.substr(dot));
  for (const Container& c : kContainers) {
    for (const wchar_t* e : c.extensions) {
      if (e && extension == FoldCase(e)) return &c;
    }
  }
  return nullptr;
}

const Container& WritableContainer(const std::wstring& name) {
  const Container* container = ContainerFor(name);
  if (!container || !container->written) {
    throw HostError{kExitOutput, L"cannot tell the image format of " + name + L" (use " +
                                     FormatList(true, L", ", L" or ", [](const Container& c) {
                                       return std::wstring(c.extensions[0]);
                                     }) +
                                     L")"};
  }
  return *container;
}

std::wstring HResultText(HRESULT hr) { return SystemMessage(static_cast<DWORD>(hr)); }

bool IsOutOfMemory(HRESULT hr) {
  return hr == E_OUTOFMEMORY || hr == HRESULT_FROM_WIN32(ERROR_NOT_ENOUGH_MEMORY);
}

// Bits per pixel of a pixel format, 32 when the component cannot say.
uint32_t BitsPerPixel(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  ComRef<IWICComponentInfo> info;
  ComRef<IWICPixelFormatInfo> formatInfo;
  UINT bits = 0;
  if (FAILED(factory->CreateComponentInfo(format, info.Out())) ||
      FAILED(info->QueryInterface(IID_IWICPixelFormatInfo, reinterpret_cast<void**>(formatInfo.Out()))) ||
      FAILED(formatInfo->GetBitsPerPixel(&bits)) || bits == 0) {
    return 32;
  }
  return bits;
}

void CreateFactory(ComRef<IWICImagingFactory>& factory, int exitCode) {
  const HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWICImagingFactory,
                                      reinterpret_cast<void**>(factory.Out()));
  if (FAILED(hr)) {
    throw HostError{exitCode, L"the Windows Imaging Component is not available: " + HResultText(hr)};
  }
}

struct FormatFacts {
  bool alpha;      // the format has an alpha channel
  bool indexed;    // the pixels index a palette
  uint32_t bitsPerChannel;
};

FormatFacts FactsOf(IWICImagingFactory* factory, const WICPixelFormatGUID& format) {
  FormatFacts facts{true, false, 8};
  const GUID* const indexed[] = {&GUID_WICPixelFormat1bppIndexed, &GUID_WICPixelFormat2bppIndexed,
                                 &GUID_WICPixelFormat4bppIndexed, &GUID_WICPixelFormat8bppIndexed};
  for (const GUID* g : indexed) facts.indexed = facts.indexed || IsEqualGUID(format, *g);
  ComRef<IWICComponentInfo> info;
  ComRef<IWICPixelFormatInfo2> formatInfo;
  if (FAILED(factory->CreateComponentInfo(format, info.Out())) ||
      FAILED(info->QueryInterface(IID_IWICPixelFormatInfo2,
                                  reinterpret_cast<void**>(formatInfo.Out())))) {
    return facts;
  }
  BOOL transparency = TRUE;
  if (SUCCEEDED(formatInfo->SupportsTransparency(&transparency))) {
    facts.alpha = transparency != FALSE;
  }
  // The widest channel, by its mask: the bits per pixel include padding (32bppBGR).
  UINT channels = 0;
  if (facts.indexed || FAILED(formatInfo->GetChannelCount(&channels))) return facts;
  for (UINT c = 0; c < channels; ++c) {
    UINT size = 0;
    if (FAILED(formatInfo->GetChannelMask(c, 0, nullptr, &size)) || size == 0) continue;
    std::vector<BYTE> mask(size);
    if (FAILED(formatInfo->GetChannelMask(c, size, mask.data(), &size))) continue;
    uint32_t bits = 0;
    for (BYTE b : mask) {
      for (; b; b &= static_cast<BYTE>(b - 1)) ++bits;
    }
    if (bits > facts.bitsPerChannel) facts.bitsPerChannel = bits;
  }
  return facts;
}

// Whether the palette of an indexed frame has entries that are not opaque (a PNG's
// tRNS entries, a GIF's transparent colour). The format's own flag says no for every
// indexed format, whatever its palette holds.
bool PaletteHasAlpha(IWICImagingFactory* factory, IWICBitmapDecoder* decoder,
                     IWICBitmapFrameDecode* frame) {
  ComRef<IWICPalette> palette;
  if (FAILED(factory->CreatePalette(palette.Out()))) return false;
  if (FAILED(frame->CopyPalette(palette.Get())) && FAILED(decoder->CopyPalette(palette.Get()))) {
    return false;
  }
  BOOL alpha = FALSE;
  return SUCCEEDED(palette->HasAlpha(&alpha)) && alpha;
}

enum class ReadStage { kHeader, kPixels };

// Why `path` could not be read, with the stage where it failed when the component says
// no more than that it failed.
HostError Unreadable(const std::wstring& path, ReadStage stage, HRESULT hr) {
  std::wstring why;
  if (stage == ReadStage::kHeader &&
      (hr == WINCODEC_ERR_COMPONENTNOTFOUND || hr == WINCODEC_ERR_UNKNOWNIMAGEFORMAT)) {
    // No decoder took the file: what looks like no codec is mostly a damaged signature.
    why = L"not a picture in a format this system reads (unknown format or a damaged header) " +
          CodeInHex(static_cast<DWORD>(hr));
  } else if (hr == E_FAIL) {
    why = HResultText(hr) +
          (stage == ReadStage::kHeader ? L" while reading the header" : L" while decoding the pixels") +
          L"; the file may be damaged or truncated";
  } else {
    why = HResultText(hr);
  }
  return HostError{kExitInput,
                   L"cannot read " + path + L" as an image (" +
                       FormatList(false, L", ", L" or ", [](const Container& c) { return FoldCase(c.name); }) +
                       L"): " + why,
                   IsOutOfMemory(hr)};
}

// The first frame of a file and what its header says, before any pixel is decoded.
struct OpenedFrame {
  ComRef<IWICBitmapDecoder> decoder;
  ComRef<IWICBitmapFrameDecode> frame;
  UINT frames = 0;
  UINT width = 0, height = 0;
  WICPixelFormatGUID format{};

  // Throws HostError (kExitInput) for a file that is no image, or one of no pixels or
  // more than the plug-in's buffers can address.
  void Open(IWICImagingFactory* factory, const std::wstring& file, const std::wstring& path) {
    HRESULT hr = factory->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ,
                                                    WICDecodeMetadataCacheOnDemand, decoder.Out());
    if (SUCCEEDED(hr)) hr = decoder->GetFrameCount(&frames);
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, frame.Out());
    if (SUCCEEDED(hr)) hr = frame->GetSize(&width, &height);
    if (SUCCEEDED(hr)) hr = frame->GetPixelFormat(&format);
    if (FAILED(hr)) throw Unreadable(path, ReadStage::kHeader, hr);
    if (width == 0 || height == 0) throw HostError{kExitInput, path + L" holds an empty image"};
    if (uint64_t{width} * height * 4 > kMaxPixelBytes) {
      throw HostError{kExitInput, path + L" is too large an image"};
    }
  }
  void Close() {
    frame.Reset();
    decoder.Reset();
  }

  // Decodes the pixels into `pixels` (width * height * 4 bytes) as 32-bit BGRA.
  void CopyBgra(IWICImagingFactory* factory, std::vector<uint8_t>& pixels, const std::wstring& path) const {
    ComRef<IWICFormatConverter> converter;
    HRESULT hr = factory->CreateFormatConverter(converter.Out());
    if (SUCCEEDED(hr)) {
      hr = converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                 nullptr, 0.0, WICBitmapPaletteTypeCustom);
    }
    if (SUCCEEDED(hr)) {
      hr = converter->CopyPixels(nullptr, width * 4, static_cast<UINT>(pixels.size()), pixels.data());
    }
    if (FAILED(hr)) throw Unreadable(path, ReadStage::kPixels, hr);
  }
};

}  // namespace

Image ReadImage(const std::wstring& path, PixelGate* gate) {
  // A picture deep in folders past MAX_PATH, which ppihost can write, can be read too.
  const std::wstring file = AnyLengthPath(FullPath(path));
  if (!IsExistingFile(file)) throw HostError{kExitInput, L"no image file " + path};
  ComRef<IWICImagingFactory> factory;
  CreateFactory(factory, kExitInput);
  OpenedFrame opened;
  opened.Open(factory.Get(), file, path);
  // Some decoders hold the frame decoded from the start: a picture that must wait for
  // room lets go of its file meanwhile.
  if (gate && !gate->Enter({opened.width, opened.height, BitsPerPixel(factory.Get(), opened.format)})) {
    opened.Close();
    gate->Wait();
    opened.Open(factory.Get(), file, path);
  }

  Image image;
  image.width = static_cast<int32_t>(opened.width);
  image.height = static_cast<int32_t>(opened.height);
  image.frames = opened.frames;
  const FormatFacts facts = FactsOf(factory.Get(), opened.format);
  image.bitsPerChannel = facts.bitsPerChannel;
  try {
    image.pixels.resize(size_t{opened.width} * opened.height * 4);
  } catch (const std::bad_alloc&) {
    throw HostError{kExitInput, TooLargeForMemory(path), true};
  }
  opened.CopyBgra(factory.Get(), image.pixels, path);
  const bool keepAlpha =
      facts.indexed ? PaletteHasAlpha(factory.Get(), opened.decoder.Get(), opened.frame.Get()) : facts.alpha;
  if (!keepAlpha) {
    for (size_t i = 3; i < image.pixels.size(); i += 4) image.pixels[i] = 0xFF;
  }
  return image;
}

void CheckWritableImageName(const std::wstring& path) { WritableContainer(path); }

std::wstring WrittenFormats(const wchar_t* separator, const wchar_t* lastSeparator) {
  return FormatList(true, separator, lastSeparator, [](const Container& c) { return std::wstring(c.name); });
}

std::wstring ExtensionOfFormat(const std::wstring& format) {
  const std::wstring wanted = FoldCase(format);
  for (const Container& c : kContainers) {
    // "jpeg" or "jpg", "tiff" or "tif".
    if (c.written && (wanted == FoldCase(c.name) || wanted == FoldCase(c.extensions[0] + 1))) {
      return c.extensions[0];
    }
  }
  throw HostError{kExitUsage, L"--format wants " + WrittenFormats(L", ", L" or ") + L", not \"" + format + L"\""};
}

bool HoldsAlpha(const std::wstring& path) {
  const Container* container = ContainerFor(path);
  return container && container->holdsAlpha;
}

std::vector<uint8_t> EncodeImage(const std::wstring& nameForFormat, const Image& image) {
  const Container& container = WritableContainer(nameForFormat);
  ComRef<IWICImagingFactory> factory;
  CreateFactory(factory, kExitOutput);

  const UINT stride = static_cast<UINT>(image.width) * 4;
  const UINT size = static_cast<UINT>(image.pixels.size());
  ComRef<IStream> stream;
  ComRef<IWICBitmapEncoder> encoder;
  ComRef<IWICBitmapFrameEncode> frame;
  ComRef<IPropertyBag2> options;
  ComRef<IWICBitmap> bitmap;
  ComRef<IWICFormatConverter> converter;
  // Encoders that cannot store BGRA (JPEG, some BMP writers) answer with the nearest
  // format they can, and the pixels are converted to it.
  WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;

  // The file is encoded whole in memory: an encoder that fails to pass on a write
  // error (TIFF's does) can then never leave a truncated file that looks complete.
  HRESULT hr = CreateStreamOnHGlobal(nullptr, TRUE, stream.Out());
  if (SUCCEEDED(hr)) hr = factory->CreateEncoder(*container.format, nullptr, encoder.Out());
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
  STATSTG stat{};
  if (SUCCEEDED(hr)) hr = stream->Stat(&stat, STATFLAG_NONAME);
  std::vector<uint8_t> bytes;
  if (SUCCEEDED(hr) && stat.cbSize.QuadPart > std::numeric_limits<ULONG>::max()) hr = E_OUTOFMEMORY;
  if (SUCCEEDED(hr)) {
    try {
      bytes.resize(static_cast<size_t>(stat.cbSize.QuadPart));
    } catch (const std::bad_alloc&) {
      hr = E_OUTOFMEMORY;
    }
  }
  if (SUCCEEDED(hr)) hr = stream->Seek(LARGE_INTEGER{}, STREAM_SEEK_SET, nullptr);
  ULONG read = 0;
  if (SUCCEEDED(hr)) hr = stream->Read(bytes.data(), static_cast<ULONG>(bytes.size()), &read);
  if (SUCCEEDED(hr) && read != bytes.size()) hr = WINCODEC_ERR_STREAMREAD;
  if (FAILED(hr)) {
    throw HostError{kExitOutput, L"cannot write " + nameForFormat + L": " + HResultText(hr),
                    IsOutOfMemory(hr)};
  }
  return bytes;
}
