// ppihost: a command-line host for .ppi filter plug-ins. It loads a plug-in the way
// the paint application does, lists its filters, runs one over an image file or opens
// its settings dialog.
#include <windows.h>

#include <cwchar>
#include <exception>

#include "ppihost/com_ref.h"
#include "ppihost/commands.h"
#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/interrupt.h"

namespace {

// A plug-in that crashes takes the host with it; a script gets one line and a failure
// code instead of the system's crash report, and no output is left half-written.
LONG WINAPI ReportCrash(EXCEPTION_POINTERS* info) {
  const EXCEPTION_RECORD& record = *info->ExceptionRecord;
  HMODULE module = nullptr;
  wchar_t name[MAX_PATH] = L"?";
  if (GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         static_cast<LPCWSTR>(record.ExceptionAddress), &module)) {
    GetModuleFileNameW(module, name, MAX_PATH);
  }
  wchar_t line[MAX_PATH + 96];
  swprintf(line, MAX_PATH + 96, L"ppihost: crashed with exception 0x%08lX in %ls",
           record.ExceptionCode, name);
  WriteLine(StdErr(), line);
  // Outputs being written by other pictures' threads are not left half-made.
  EndWithoutTemporaryFiles(kExitFailure);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(ReportCrash);
  HandleInterrupts();
  try {
    Arguments args = ParseArguments(argc, argv);
    // Nobody can answer a message box when the commands come from a pipe or a file.
    if (!IsTerminal(StdIn())) args.unattended = true;
    const ComApartment com;
    if (args.command == L"list") return ListCommand(args);
    if (args.command == L"run") return RunCommand(args);
    if (args.command == L"setup") return SetupCommand(args);
    if (args.command == L"help" || args.command == L"version") {
      WriteLine(StdOut(), args.command == L"help" ? Usage() : VersionText());
      return kExitOk;
    }
    if (!args.command.empty()) throw HostError{kExitUsage, L"unknown command " + args.command + L" (see ppihost help)"};
    WriteLine(StdErr(), Usage());
    return kExitUsage;
  } catch (const HostError& e) {
    WriteLine(StdErr(), L"ppihost: " + e.message);
    return e.exitCode;
  } catch (const std::exception& e) {
    WriteLine(StdErr(), L"ppihost: " + WideFromCodePage(e.what(), CP_ACP));
    return kExitFailure;
  }
}
