// ppihost: a command-line host for .ppi filter plug-ins. It loads a plug-in the way
// the paint application does, lists its filters, runs one over an image file or opens
// its settings dialog.
#include <windows.h>

#include <exception>

#include "tools/ppihost/com_ref.h"
#include "tools/ppihost/commands.h"
#include "tools/ppihost/console_text.h"
#include "tools/ppihost/exit_codes.h"
#include "tools/ppihost/host_error.h"

int wmain(int argc, wchar_t** argv) {
  try {
    Arguments args = ParseArguments(argc, argv);
    // Nobody can answer a message box when the commands come from a pipe or a file.
    if (!IsTerminal(StdIn())) args.batch = true;
    const ComApartment com;
    if (args.command == L"list") return ListCommand(args);
    if (args.command == L"run") return RunCommand(args);
    if (args.command == L"setup") return SetupCommand(args);
    if (args.command == L"help") {
      WriteLine(StdOut(), kUsage);
      return kExitOk;
    }
    WriteLine(StdErr(), kUsage);
    return kExitUsage;
  } catch (const HostError& e) {
    WriteLine(StdErr(), L"ppihost: " + e.message);
    return e.exitCode;
  } catch (const std::exception& e) {
    WriteLine(StdErr(), L"ppihost: " + WideFromCodePage(e.what(), CP_ACP));
    return kExitFailure;
  }
}
