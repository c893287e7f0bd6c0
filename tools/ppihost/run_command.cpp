// ppihost run PLUGIN FILTER INPUT OUTPUT [--region ...]: runs one filter over an
// image file the way the host's menu does and writes the result. Every argument is
// checked before the filter runs, and the output appears only when the run succeeded.
#include "tools/ppihost/commands.h"
#include "tools/ppihost/console_text.h"
#include "tools/ppihost/exit_codes.h"
#include "tools/ppihost/host_error.h"
#include "tools/ppihost/image_file.h"
#include "tools/ppihost/message_capture.h"
#include "tools/ppihost/output_file.h"
#include "tools/ppihost/progress_bar.h"

namespace {
std::wstring ShortName(const FilterEntry& filter) {
  std::wstring name = EnglishForm(filter.name);
  while (!name.empty() && name.back() == L'.') name.pop_back();
  return name;
}
}  // namespace

int RunCommand(const Arguments& args) {
  ExpectPositional(args, 4);
  const std::wstring& outputName = args.positional[3];
  if (!IsWritableImageName(outputName)) {
    throw HostError{kExitOutput, L"cannot tell the image format of " + outputName +
                                     L" (use .png, .bmp, .jpg or .tif)"};
  }
  const PluginModule plugin(args.positional[0]);
  const std::vector<FilterEntry> filters = plugin.Filters();
  const FilterEntry& filter = ChooseFilter(filters, args.positional[1]);
  const Image source = ReadImage(args.positional[2]);
  const PixelRegion region = args.region ? ParseRegion(*args.region, source.width, source.height)
                                         : PixelRegion{0, 0, source.width, source.height};
  OutputFile output(outputName);

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
  if (failed) {
    WriteLine(StdErr(), L"ppihost: " + ShortName(filter) + L" did not run; " + outputName +
                            L" was not written");
    return kExitDeclined;
  }
  WriteImage(output.CreateTemporary(), outputName, result);
  output.Commit();
  return kExitOk;
}
