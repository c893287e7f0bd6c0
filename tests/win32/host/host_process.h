// Runs ppihost.exe (next to the test program) the way a script does: standard input
// from the NUL device, standard output and error into pipes, never on a terminal.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "support/plugin_library.h"  // ProgramFolderW: where ppihost.exe and the plug-ins lie
#include "ppihost/console_text.h"

struct HostResult {
  DWORD exitCode = 0;
  std::string out;  // UTF-8, as ppihost writes to pipes
  std::string err;
  bool timedOut = false;
};

// `whileRunning` is called every few milliseconds with the child's process id until
// it ends (to press the buttons of a dialog it opened).
HostResult RunHost(const std::vector<std::wstring>& args,
                   const std::function<void(DWORD)>& whileRunning = nullptr);

// Names as ppihost prints them on pipes.
inline std::string Utf8(const std::wstring& text) { return Utf8FromWide(text); }
