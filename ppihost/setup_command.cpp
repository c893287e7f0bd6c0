// ppihost setup PLUGIN FILTER INPUT: opens the filter's settings dialog over an image,
// as the host's menu does, and says whether the user confirmed it. An unattended run has
// nobody to answer the dialog, so it opens none.
#include <windows.h>
#include <commctrl.h>

#include "ppihost/commands.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/image_file.h"
#include "ppihost/plugin_module.h"
#include "ppihost/profile_redirect.h"

int SetupCommand(const Arguments& args) {
  if (args.unattended) {
    throw HostError{kExitUsage,
                    L"setup needs an interactive session: run it from a terminal, without --batch"};
  }
  ExpectPositional(args, 3);
  const PluginModule plugin(args.positional[0]);
  const std::vector<FilterEntry> filters = plugin.Filters();
  const FilterEntry& filter = ChooseFilter(filters, args.positional[1]);
  const Image image = ReadImage(args.positional[2]);

  // The plug-ins' dialogs use the up-down and trackbar controls and rely on the host
  // to have registered them.
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&controls);

  // The dialog reads the settings given and saves to --settings FILE, if given.
  const ProfileRedirect profile(plugin.Handle(), args.settings, args.overrides,
                                ProfileWrites::ToFile);
  const int32_t confirmed = plugin.Setup(filter.index, nullptr, image.pixels.data(), image.width, image.height);
  WriteLine(StdOut(), EnglishForm(filter.name) + (confirmed ? L" settings confirmed" : L" settings cancelled"));
  return confirmed ? kExitOk : kExitDeclined;
}
