// ppihost run PLUGIN FILTER INPUT OUTPUT [--region ...]: runs one filter over an
// image file the way the host's menu does and writes the result; with --out-dir, over
// many (batch_run.h). Every argument is checked before the filter runs (the outputs
// first, before an input is read), and an output appears only when its picture
// succeeded, whole.
#include <optional>

#include "ppihost/batch_run.h"
#include "ppihost/commands.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/image_file.h"
#include "ppihost/interrupt.h"
#include "ppihost/picture_run.h"
#include "ppihost/profile_redirect.h"

int RunCommand(const Arguments& args) {
  // Before any work: a run that cannot write its outputs fails at once.
  std::vector<BatchPicture> pictures;
  std::optional<OutputFile> output;
  if (args.outDir) {
    pictures = PlanBatch(args);
  } else {
    ExpectPositional(args, 4);
    // One output's format is that of its extension.
    if (args.format) throw HostError{kExitUsage, L"--format goes with --out-dir (see ppihost help)"};
    CheckWritableImageName(args.positional[3]);
    output.emplace(args.positional[3]);
    AnnounceOutput(args.positional[3]);
  }

  // The plug-in is loaded once, for every picture of the call.
  const PluginModule plugin(args.positional[0]);
  const std::vector<FilterEntry> filters = plugin.Filters();
  const FilterEntry& filter = ChooseFilter(filters, args.positional[1]);
  ExecuteCalls calls;
  const FilterJob job{plugin, filter, args.region, args.unattended, args.outDir.has_value(), calls};

  // Settings given for the run are for the run alone: what the plug-in writes is kept
  // in memory.
  const ProfileRedirect profile(plugin.Handle(), args.settings, args.overrides,
                                args.settings || !args.overrides.empty() ? ProfileWrites::KeptInMemory
                                                                         : ProfileWrites::ToFile);
  const int status = args.outDir ? RunBatch(job, pictures, args.jobs)
                                 : FilterPicture(job, args.positional[2], args.positional[3], *output,
                                                 [](const std::wstring& line) { WriteLine(StdErr(), line); });
  // Only a plug-in that ran can have read a --set; the threads have ended.
  if (calls.made > 0) WarnUnread(profile);
  return status;
}
