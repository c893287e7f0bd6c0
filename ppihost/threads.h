// Owners for the Win32 threads and locks of a run over many pictures (the toolchain's
// thread model offers no std::thread or std::mutex).
#pragma once
#include <windows.h>

#include <process.h>

#include <new>

class CriticalSection {
 public:
  CriticalSection() { InitializeCriticalSection(&section); }
  ~CriticalSection() { DeleteCriticalSection(&section); }
  CriticalSection(const CriticalSection&) = delete;
  CriticalSection& operator=(const CriticalSection&) = delete;

  void Enter() { EnterCriticalSection(&section); }
  void Leave() { LeaveCriticalSection(&section); }

 private:
  CRITICAL_SECTION section;
};

// Holds a critical section for its scope.
class Locked {
 public:
  explicit Locked(CriticalSection& section) : section(section) { section.Enter(); }
  ~Locked() { section.Leave(); }
  Locked(const Locked&) = delete;
  Locked& operator=(const Locked&) = delete;

 private:
  CriticalSection& section;
};

// A thread that runs `body()` and is waited for and closed when its owner goes. The
// body must not throw.
template <class Body>
class JoinedThread {
 public:
  explicit JoinedThread(Body& body)
      : handle(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &Start, &body, 0, nullptr))) {
    if (!handle) throw std::bad_alloc();
  }
  ~JoinedThread() {
    WaitForSingleObject(handle, INFINITE);
    CloseHandle(handle);
  }
  JoinedThread(const JoinedThread&) = delete;
  JoinedThread& operator=(const JoinedThread&) = delete;

 private:
  static unsigned __stdcall Start(void* body) {
    (*static_cast<Body*>(body))();
    return 0;
  }

  HANDLE handle;
};
