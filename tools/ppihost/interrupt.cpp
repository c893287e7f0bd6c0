#include "tools/ppihost/interrupt.h"

#include <windows.h>

#include "tools/ppihost/console_text.h"
#include "tools/ppihost/exit_codes.h"

namespace {

volatile LONG interrupted = 0;
// Ready before main, so that a program that writes files without the handler (the
// tests) can take it too.
struct Lock {
  Lock() { InitializeCriticalSection(&section); }
  CRITICAL_SECTION section;
} lockHolder;
CRITICAL_SECTION& lock = lockHolder.section;
// Guarded by `lock`.
std::wstring output;
bool committed = false;

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  InterlockedExchange(&interrupted, 1);
  // Waits while a temporary file exists; its writer sees the flag within one block.
  EnterCriticalSection(&lock);
  std::wstring line = L"ppihost: interrupted";
  if (!output.empty()) {
    line += committed ? L" after " + output + L" was written"
                      : L"; " + output + L" was not written";
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
  EnterCriticalSection(&lock);
  output = name;
  LeaveCriticalSection(&lock);
}

TemporaryFileLock::TemporaryFileLock() { EnterCriticalSection(&lock); }

TemporaryFileLock::~TemporaryFileLock() { LeaveCriticalSection(&lock); }

bool TemporaryFileLock::Interrupted() const {
  return InterlockedCompareExchange(&interrupted, 0, 0) != 0;
}

void TemporaryFileLock::Committed() { committed = true; }

void TemporaryFileLock::AwaitEnd() {
  LeaveCriticalSection(&lock);
  for (;;) Sleep(INFINITE);
}
