#include "ppihost/picture_run.h"

#include <vector>

#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/image_file.h"
#include "ppihost/message_capture.h"
#include "ppihost/progress_bar.h"

namespace {
bool HasTransparency(const Image& image) {
  for (size_t i = 3; i < image.pixels.size(); i += 4) {
    if (image.pixels[i] != 0xFF) return true;
  }
  return false;
}
}  // namespace

std::wstring ShortName(const FilterEntry& filter) {
  std::wstring name = EnglishForm(filter.name);
  while (!name.empty() && name.back() == L'.') name.pop_back();
  return name;
}

int FilterPicture(const FilterJob& job, const std::wstring& inputName, const std::wstring& outputName,
                  OutputFile& output, const std::function<void(const std::wstring&)>& say,
                  PixelGate* gate) {
  Image source = ReadImage(inputName, gate);
  if (source.frames > 1) {
    throw HostError{kExitUsage, inputName + L" holds " + std::to_wstring(source.frames) +
                                    L" frames and only the first would be filtered: frames 2 to " +
                                    std::to_wstring(source.frames) + L" would be lost; " +
                                    outputName + L" was not written"};
  }
  const PixelRegion region = job.region ? job.region->region : PixelRegion{0, 0, source.width, source.height};
  if (!Fits(region, source.width, source.height)) {
    // Of many pictures, the line names the one the region does not fit.
    const std::wstring size = std::to_wstring(source.width) + L"x" + std::to_wstring(source.height);
    throw HostError{kExitUsage, L"region " + job.region->text + L" is not inside " +
                                    (job.manyPictures ? inputName + L", a " + size + L" image; " +
                                                            outputName + L" was not written"
                                                      : L"the " + size + L" image")};
  }

  // The host hands the plug-in a destination that already holds the picture.
  Image result = source;
  std::vector<CapturedMessage> messages;
  {
    Locked oneCall(job.calls.lock);
    ++job.calls.made;
    // Of many pictures, a failure is said in one line that names its file.
    MessageCapture capture(job.plugin.Handle(), job.unattended, !job.manyPictures);
    std::optional<ProgressBar> bar;
    if (!job.manyPictures) bar.emplace(StdErr(), ShortName(job.filter));
    job.plugin.Execute(job.filter.index, nullptr, source.pixels.data(), result.pixels.data(), 0,
                       &region, 0, source.width, 0, bar ? &ProgressBar::Report : &NoProgress,
                       bar ? bar->UserData() : 0);
    messages = capture.Messages();
  }
  if (!messages.empty()) {
    std::wstring line = L"ppihost: " + ShortName(job.filter) + L" did not run";
    if (job.manyPictures) line += L" on " + inputName + L" (" + Said(messages.front()) + L")";
    say(line + L"; " + outputName + L" was not written");
    return kExitDeclined;
  }
  // The encoded file is held in memory beside the result; the source makes room.
  std::vector<uint8_t>().swap(source.pixels);
  output.Write(EncodeImage(outputName, result));

  // What the output could not hold is said once each; the run still succeeded.
  if (source.bitsPerChannel > 8) {
    say(L"ppihost: warning: " + inputName + L" has " + std::to_wstring(source.bitsPerChannel) +
        L" bits per channel; " + outputName + L" was written with 8");
  }
  if (!HoldsAlpha(outputName) && HasTransparency(result)) {
    say(L"ppihost: warning: " + outputName +
        L" cannot hold transparency; its pixels were written opaque");
  }
  return kExitOk;
}
