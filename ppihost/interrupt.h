// Ctrl+C, Ctrl+Break and closing the console end the process with exit code 130 and
// one line on standard error, and leave no temporary file behind. The system calls the
// handler on a thread of its own, possibly while other threads are writing outputs.
// Each writer holds a TemporaryFileLock while its temporary file exists, several at
// once in a run over many pictures. The handler raises a flag, which lets no new
// holder in, and waits for the holders to let go: each looks at the flag between
// blocks, and on seeing it removes its temporary file and lets go, so the process
// ends with nothing left over. A crash ends the process the same way.
#pragma once
#include <cstddef>
#include <string>

// Installs the handler; call once, first thing.
void HandleInterrupts();

// Names the output of a one-picture run, for the line printed when interrupted.
void AnnounceOutput(const std::wstring& output);
// A run over `total` pictures: the line printed when interrupted counts those written.
void AnnounceBatch(size_t total);

// The outputs written so far, counted as each is complete under its own name.
size_t PicturesWritten();

// True once the user asked the run to stop (or it crashed); from any thread.
bool InterruptRequested();

// Waits until no temporary file exists, with no new one begun, and ends the process
// with `exitCode`. For a crash, whose line has been printed.
[[noreturn]] void EndWithoutTemporaryFiles(int exitCode);

// Held while a temporary file exists. Made after the process began to end, it never
// returns: the thread waits for the end.
class TemporaryFileLock {
 public:
  TemporaryFileLock();
  ~TemporaryFileLock();
  TemporaryFileLock(const TemporaryFileLock&) = delete;
  TemporaryFileLock& operator=(const TemporaryFileLock&) = delete;

  // The outputs written so far, counted as each is complete under its own name.
size_t PicturesWritten();

// True once the user asked the run to stop: the holder removes its temporary file
  // and calls AwaitEnd().
  bool Interrupted() const;
  // The output is complete under its own name.
  void Committed();
  // Lets go of the lock and waits for the handler to end the process.
  [[noreturn]] void AwaitEnd();
};
