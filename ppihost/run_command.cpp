// ppihost run PLUGIN FILTER INPUT OUTPUT [--region ...]: runs one filter over an
// image file the way the host's menu does and writes the result. Every argument is
// checked before the filter runs (the output's path first, before the input is read),
// and the output appears only when the run succeeded, whole.
#include "ppihost/commands.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/image_file.h"
#include "ppihost/message_capture.h"
#include "ppihost/output_file.h"
#include "ppihost/profile_redirect.h"
#include "ppihost/progress_bar.h"

namespace {
std::wstring ShortName(const FilterEntry& filter) {
  std::wstring name = EnglishForm(filter.name);
  while (!name.empty() && name.back() == L'.') name.pop_back();
  return name;
}

bool HasTransparency(const Image& image) {
  for (size_t i = 3; i < image.pixels.size(); i += 4) {
    if (image.pixels[i] != 0xFF) return true;
  }
  return false;
}
}  // namespace

int RunCommand(const Arguments& args) {
  ExpectPositional(args, 4);
  const std::wstring& inputName = args.positional[2];
  const std::wstring& outputName = args.positional[3];
  // Before any work: a run that cannot write its output fails at once.
  CheckWritableImageName(outputName);
  OutputFile output(outputName);
  const PluginModule plugin(args.positional[0]);
  const std::vector<FilterEntry> filters = plugin.Filters();
  const FilterEntry& filter = ChooseFilter(filters, args.positional[1]);
  Image source = ReadImage(inputName);
  if (source.frames > 1) {
    throw HostError{kExitUsage, inputName + L" holds " + std::to_wstring(source.frames) +
                                    L" frames and only the first would be filtered: frames 2 to " +
                                    std::to_wstring(source.frames) + L" would be lost; " +
                                    outputName + L" was not written"};
  }
  const PixelRegion region = args.region ? ParseRegion(*args.region, source.width, source.height)
                                         : PixelRegion{0, 0, source.width, source.height};

  // Settings given for the run are for the run alone: what the plug-in writes is kept in memory.
  const ProfileRedirect profile(plugin.Handle(), args.settings, args.overrides,
                                args.settings || !args.overrides.empty());

  // The host hands the plug-in a destination that already holds the picture.
  Image result = source;
  bool failed;
  {
    MessageCapture capture(plugin.Handle(), args.batch);
    ProgressBar bar(StdErr(), ShortName(filter));
    plugin.Execute(filter.index, nullptr, source.pixels.data(), result.pixels.data(), 0, &region, 0,
                   source.width, 0, &ProgressBar::Report, bar.UserData());
    failed = !capture.Messages().empty();
  }
  WarnUnread(profile);
  if (failed) {
    WriteLine(StdErr(), L"ppihost: " + ShortName(filter) + L" did not run; " + outputName +
                            L" was not written");
    return kExitDeclined;
  }
  // The encoded file is held in memory beside the result; the source makes room.
  std::vector<uint8_t>().swap(source.pixels);
  output.Write(EncodeImage(outputName, result));

  // What the output could not hold is said once each; the run still succeeded.
  if (source.bitsPerChannel > 8) {
    WriteLine(StdErr(), L"ppihost: warning: " + inputName + L" has " +
                            std::to_wstring(source.bitsPerChannel) + L" bits per channel; " +
                            outputName + L" was written with 8");
  }
  if (!HoldsAlpha(outputName) && HasTransparency(result)) {
    WriteLine(StdErr(), L"ppihost: warning: " + outputName +
                            L" cannot hold transparency; its pixels were written opaque");
  }
  return kExitOk;
}
