// The functions the host calls, defined against their declarations in
// base/host_interface.h: a definition whose types differ from them does not compile
// (one C function per name), and one without WINAPI still gets it from them. Each is
// exported under its plain and its decorated name (see zuzovezu.def).
#include "base/host_interface.h"

#include <cstdint>
#include <exception>

#include "base/host_text.h"
#include "base/message_box.h"
#include "plugin/filter_registry.h"
#include "resources/texts_cp932.h"

namespace {
inline constexpr size_t kExceptionTextSize = 512;

void ShowSetupException(HWND parent, const char* detail) {
  char text[kExceptionTextSize];
  FormatWithDetail(text, sizeof text, kSetupExceptionMessage, detail);
  ShowMessageBox(parent, text, kSetupExceptionCaption, MB_ICONERROR);
}
}  // namespace

extern "C" {

int16_t WINAPI PB_GetPluginInfo(char* buffer, int32_t length) {
  CopyHostText(buffer, length, kPluginInfo);
  return 1;
}

int32_t WINAPI PBF_FilterCount() { return Registry->Count(); }

char* WINAPI PBF_GetName(int32_t index, char* category, int32_t categoryLength, char* name,
                         int32_t nameLength) {
  CopyHostText(category, categoryLength, Registry->Category(index));
  CopyHostText(name, nameLength, Registry->Name(index));
  return name;
}

int32_t WINAPI PBF_Execute(int32_t index, HWND window, const uint8_t* source,
                           uint8_t* destination, int32_t reserved5, const PixelRegion* region,
                           int32_t reserved7, int32_t width, int32_t reserved9,
                           ProgressCallback callback, int32_t userData) {
  ProgressSink sink{userData, callback};
  if (callback) callback(0, kProgressMaximum, userData);
  if (Filter* filter = Registry->At(index)) {
    filter->Execute(window, source, destination, reserved5, region, reserved7, width,
                    reserved9, &sink);
  }
  return sink.callback ? sink.callback(kProgressMaximum, kProgressMaximum, userData) : 0;
}

int32_t WINAPI PBF_Setup(int32_t index, HWND parent, const uint8_t* image, int32_t width,
                         int32_t height) {
  Filter* filter = Registry->At(index);
  if (!filter) return 0;
  try {
    return filter->Setup(parent, image, width, height);
  } catch (const std::exception& e) {
    ShowSetupException(parent, e.what());
  } catch (...) {
    ShowSetupException(parent, kUnknownException);
  }
  return 0;
}

}  // extern "C"
