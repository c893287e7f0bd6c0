// ppihost list PLUGIN: the maker's line, then one line per filter with its index,
// category and name, English and Japanese forms side by side.
#include "ppihost/commands.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"

namespace {
std::wstring BothForms(const std::wstring& text) {
  const std::wstring japanese = JapaneseForm(text);
  return japanese.empty() ? text : EnglishForm(text) + L" / " + japanese;
}
}  // namespace

int ListCommand(const Arguments& args) {
  ExpectPositional(args, 1);
  const PluginModule plugin(args.positional[0]);
  const std::wstring info = plugin.Info();
  if (!info.empty()) WriteLine(StdOut(), info);
  for (const FilterEntry& f : plugin.Filters()) {
    WriteLine(StdOut(), std::to_wstring(f.index) + L"  " + BothForms(f.category) + L"  " +
                            BothForms(f.name));
  }
  return kExitOk;
}
