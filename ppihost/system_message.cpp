#include "ppihost/system_message.h"

#include <cwchar>

namespace {

struct KnownCode {
  DWORD code;
  const wchar_t* words;
};
// The imaging component's own codes (facility 0x898), and a few COM codes that the
// system's message table does not always hold.
const KnownCode kImagingCodes[] = {
    {0x88982F04, L"the imaging component was called in the wrong order"},
    {0x88982F05, L"a value is out of range"},
    {0x88982F07, L"the image's format is unknown"},
    {0x88982F0B, L"the image's format version is not supported"},
    {0x88982F0C, L"the imaging component was not initialised"},
    {0x88982F0D, L"the image is locked"},
    {0x88982F40, L"the image property was not found"},
    {0x88982F41, L"the image property is not supported"},
    {0x88982F42, L"the image property has the wrong size"},
    {0x88982F43, L"the codec is already present"},
    {0x88982F44, L"the codec has no thumbnail"},
    {0x88982F45, L"the image has no palette"},
    {0x88982F46, L"the codec was given too many rows"},
    {0x88982F48, L"the imaging component failed internally"},
    {0x88982F49, L"the rectangle does not match the image's size"},
    {0x88982F50, L"no codec for this image format is installed"},
    {0x88982F51, L"the image's size is out of range"},
    {0x88982F52, L"the image holds too much metadata"},
    {0x88982F60, L"the image data is damaged"},
    {0x88982F61, L"the image's header is damaged"},
    {0x88982F62, L"the image has no such frame"},
    {0x88982F63, L"the image's metadata header is damaged"},
    {0x88982F70, L"the image's data stream is damaged"},
    {0x88982F71, L"the image could not be written to its stream"},
    {0x88982F72, L"the image could not be read from its stream"},
    {0x88982F73, L"the image's stream is not available"},
    {0x88982F80, L"the image's pixel format is not supported"},
    {0x88982F81, L"the operation is not supported"},
    {0x88982F8A, L"a codec is registered wrongly"},
    {0x88982F8B, L"a codec could not be initialised"},
    {0x88982F8C, L"the buffer is too small"},
    {0x88982F8D, L"the image holds duplicate metadata"},
    {0x88982F8E, L"the image property has an unexpected type"},
    {0x88982F8F, L"the image has an unexpected size"},
    {0x88982F90, L"the metadata query is invalid"},
    {0x88982F91, L"the image's metadata has an unexpected type"},
    {0x88982F92, L"the metadata request is valid only at the root"},
    {0x88982F93, L"the metadata query holds an invalid character"},
    {0x88982F94, L"the imaging component met a system error"},
    {0x88982F95, L"the progressive level is invalid"},
    {0x80004001, L"not implemented"},
    {0x80004005, L"unspecified failure"},
    {0x80040154, L"the component is not registered"},
};

std::wstring FromMessageTable(DWORD error, DWORD language) {
  wchar_t* text = nullptr;
  const DWORD n = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message = n ? std::wstring(text, n) : std::wstring();
  if (text) LocalFree(text);
  while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                              message.back() == L' ' || message.back() == L'.')) {
    message.pop_back();
  }
  for (wchar_t& c : message) {
    if (c == L'\r' || c == L'\n') c = L' ';
  }
  return message;
}

// English, like the rest of ppihost's lines. A system without the English message
// resources (a Japanese Windows has only its own) has no English text, and
// FormatMessage then fails; the text in the user's language is better than none.
std::wstring FromMessageTable(DWORD error) {
  std::wstring words = FromMessageTable(error, MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US));
  return words.empty() ? FromMessageTable(error, 0) : words;
}

}  // namespace

std::wstring SystemMessage(DWORD error) {
  std::wstring words;
  for (const KnownCode& known : kImagingCodes) {
    if (known.code == error) words = known.words;
  }
  if (words.empty()) words = FromMessageTable(error);
  // A system error wrapped as an HRESULT (0x8007xxxx) reads as the error itself.
  if (words.empty() && HRESULT_FACILITY(error) == FACILITY_WIN32 && (error & 0x80000000u)) {
    words = FromMessageTable(HRESULT_CODE(error));
  }
  if (words.empty()) words = L"unknown error";
  return words + L" " + CodeInHex(error);
}

std::wstring CodeInHex(DWORD error) {
  wchar_t code[16];
  std::swprintf(code, 16, L"(0x%08lX)", static_cast<unsigned long>(error));
  return code;
}
