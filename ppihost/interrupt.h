// Ctrl+C, Ctrl+Break and closing the console end the process with exit code 130 and
// one line on standard error, and leave no temporary file behind. The system calls the
// handler on a thread of its own, possibly while the main thread is writing the
// output; the two meet in one lock, which the writer holds while its temporary file
// exists. The writer looks at the flag between blocks, and on seeing it removes the
// temporary file and lets go, so the handler ends the process with nothing left over.
#pragma once
#include <string>

// Installs the handler; call once, first thing.
void HandleInterrupts();

// Names the output the run is writing, for the line printed when interrupted.
void AnnounceOutput(const std::wstring& output);

// True once the user asked the run to stop; from any thread.
bool InterruptRequested();

// The lock around a temporary file's life.
class TemporaryFileLock {
 public:
  TemporaryFileLock();
  ~TemporaryFileLock();
  TemporaryFileLock(const TemporaryFileLock&) = delete;
  TemporaryFileLock& operator=(const TemporaryFileLock&) = delete;

  // True once the user asked the run to stop: the holder removes its temporary file
  // and calls AwaitEnd().
  bool Interrupted() const;
  // The output is complete under its own name.
  void Committed();
  // Lets go of the lock and waits for the handler to end the process.
  [[noreturn]] void AwaitEnd();
};
