// ppihost list PLUGIN [--keys]: the maker's line, then one line per filter with its
// index, category and name, English and Japanese forms side by side; with --keys, under
// each filter the settings it reads, SECTION.KEY=VALUE as --set takes them.
#include <optional>

#include "ppihost/commands.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/message_capture.h"
#include "ppihost/plugin_module.h"
#include "ppihost/profile_redirect.h"

namespace {
std::wstring BothForms(const std::wstring& text) {
  const std::wstring japanese = JapaneseForm(text);
  return japanese.empty() ? text : EnglishForm(text) + L" / " + japanese;
}

// What a filter reads is known only by running it: on one grey pixel, its message
// boxes printed, not shown.
std::vector<Setting> SettingsRead(const PluginModule& plugin, int32_t index, ProfileRedirect& profile) {
  profile.ForgetReads();
  const uint8_t source[4] = {128, 128, 128, 255};
  uint8_t destination[4] = {128, 128, 128, 255};
  const PixelRegion region{0, 0, 1, 1};
  const MessageCapture capture(plugin.Handle(), true);
  plugin.Execute(index, nullptr, source, destination, 0, &region, 0, 1, 0, &NoProgress, 0);
  return profile.Reads();
}
}  // namespace

int ListCommand(const Arguments& args) {
  ExpectPositional(args, 1);
  const PluginModule plugin(args.positional[0]);
  // Listing changes no file, whatever the filters write.
  std::optional<ProfileRedirect> profile;
  if (args.keys) {
    profile.emplace(plugin.Handle(), args.settings, args.overrides, ProfileWrites::KeptInMemory);
  }
  const std::wstring info = plugin.Info();
  if (!info.empty()) WriteLine(StdOut(), info);
  for (const FilterEntry& f : plugin.Filters()) {
    WriteLine(StdOut(), std::to_wstring(f.index) + L"  " + BothForms(f.category) + L"  " +
                            BothForms(f.name));
    if (!profile) continue;
    for (const Setting& s : SettingsRead(plugin, f.index, *profile)) {
      WriteLine(StdOut(), L"   " + s.section + L"." + s.key + L"=" + s.value);
    }
  }
  if (profile) WarnUnread(*profile);
  return kExitOk;
}
