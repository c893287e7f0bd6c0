#include "ppihost/interrupt.h"

#include <windows.h>

#include "ppihost/console_text.h"
#include "ppihost/exit_codes.h"
#include "ppihost/threads.h"

namespace {

volatile LONG stopping = 0;

// What the handler and the writers share. It is made before main, so that a program
// that writes files without the handler (the tests) can take the lock too, and it is
// never destroyed: the handler may run on its own thread while the process exits and
// static objects are torn down, and must find the lock and the names still there.
struct Shared {
  Shared() : noneHeld(CreateEventW(nullptr, TRUE, TRUE, nullptr)) {}
  CriticalSection lock;
  HANDLE noneHeld;  // set while no TemporaryFileLock is held
  // Guarded by `lock`.
  int held = 0;
  std::wstring output;  // a one-picture run's
  bool committed = false;
  size_t total = 0;  // a run over many pictures
  size_t written = 0;
};
Shared& shared = *new Shared;

[[noreturn]] void EndAfterWriters(int exitCode, bool interrupted) {
  // The flag is raised under the lock: a writer either counted itself before, and is
  // waited for, or sees it and never begins.
  {
    Locked held(shared.lock);
    InterlockedExchange(&stopping, 1);
  }
  WaitForSingleObject(shared.noneHeld, INFINITE);
  Locked held(shared.lock);
  if (interrupted) {
    // On a terminal the line starts afresh: a progress bar or the echoed ^C may stand
    // at the start of the current one.
    std::wstring line = IsTerminal(StdErr()) ? L"\nppihost: interrupted" : L"ppihost: interrupted";
    if (shared.total > 0) {
      line += L"; " + std::to_wstring(shared.written) + L" of " + std::to_wstring(shared.total) +
              L" pictures were written";
    } else if (!shared.output.empty()) {
      line += shared.committed ? L" after " + shared.output + L" was written"
                               : L"; " + shared.output + L" was not written";
    }
    WriteLine(StdErr(), line);
  }
  // Ends the process here and now: the other threads may be inside the plug-in or the
  // imaging component, where an orderly exit could wait for a lock forever.
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
  for (;;) Sleep(INFINITE);
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT) {
    return FALSE;
  }
  EndAfterWriters(kExitInterrupted, true);
}

void LetGo() {
  Locked held(shared.lock);
  if (--shared.held == 0) SetEvent(shared.noneHeld);
}

}  // namespace

void HandleInterrupts() {
  SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void AnnounceOutput(const std::wstring& name) {
  Locked held(shared.lock);
  shared.output = name;
}

void AnnounceBatch(size_t total) {
  Locked held(shared.lock);
  shared.total = total;
}

size_t PicturesWritten() {
  Locked held(shared.lock);
  return shared.written;
}

bool InterruptRequested() { return InterlockedCompareExchange(&stopping, 0, 0) != 0; }

void EndWithoutTemporaryFiles(int exitCode) { EndAfterWriters(exitCode, false); }

TemporaryFileLock::TemporaryFileLock() {
  bool ending;
  {
    Locked held(shared.lock);
    ending = InterruptRequested();
    if (!ending && shared.held++ == 0) ResetEvent(shared.noneHeld);
  }
  if (ending) {
    for (;;) Sleep(INFINITE);
  }
}

TemporaryFileLock::~TemporaryFileLock() { LetGo(); }

bool TemporaryFileLock::Interrupted() const { return InterruptRequested(); }

void TemporaryFileLock::Committed() {
  Locked held(shared.lock);
  shared.committed = true;
  ++shared.written;
}

void TemporaryFileLock::AwaitEnd() {
  LetGo();
  for (;;) Sleep(INFINITE);
}
