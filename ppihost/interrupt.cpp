#include "ppihost/interrupt.h"

#include <windows.h>

#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"

namespace {

volatile LONG interrupted = 0;

// What the handler and the writer share. It is made before main, so that a program
// that writes files without the handler (the tests) can take the lock too, and it is
// never destroyed: the handler may run on its own thread while the process exits and
// static objects are torn down, and must find the lock and the name still there.
struct Shared {
  Shared() { InitializeCriticalSection(&lock); }
  CRITICAL_SECTION lock;
  // Guarded by `lock`.
  std::wstring output;
  bool committed = false;
};
Shared& shared = *new Shared;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  InterlockedExchange(&interrupted, 1);
  // Waits while a temporary file exists; its writer sees the flag within one block.
  EnterCriticalSection(&shared.lock);
  // On a terminal the line starts afresh: a progress bar or the echoed ^C may stand
  // at the start of the current one.
  std::wstring line = IsTerminal(StdErr()) ? L"\nppihost: interrupted" : L"ppihost: interrupted";
  if (!shared.output.empty()) {
    line += shared.committed ? L" after " + shared.output + L" was written"
                             : L"; " + shared.output + L" was not written";
  }
  WriteLine(StdErr(), line);
  // Ends the process here and now: the main thread may be inside the plug-in or the
  // imaging component, where an orderly exit could wait for a lock forever.
  TerminateProcess(GetCurrentProcess(), kExitInterrupted);
  return TRUE;
}

}  // namespace

void HandleInterrupts() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void AnnounceOutput(const std::wstring& name) {
  EnterCriticalSection(&shared.lock);
  shared.output = name;
  LeaveCriticalSection(&shared.lock);
}

TemporaryFileLock::TemporaryFileLock() { EnterCriticalSection(&shared.lock); }

TemporaryFileLock::~TemporaryFileLock() { LeaveCriticalSection(&shared.lock); }

bool InterruptRequested() { return InterlockedCompareExchange(&interrupted, 0, 0) != 0; }

bool TemporaryFileLock::Interrupted() const { return InterruptRequested(); }

void TemporaryFileLock::Committed() { shared.committed = true; }

void TemporaryFileLock::AwaitEnd() {
  LeaveCriticalSection(&shared.lock);
  for (;;) Sleep(INFINITE);
}
