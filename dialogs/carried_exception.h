// An exception raised in a window procedure of a modal dialog. It must not unwind through
// the platform's modal loop, whose frames are not ours to unwind: the first one is kept,
// the dialog ends, and the code that ran the loop rethrows it. Once one is kept, the
// dialog's procedures leave every message to the platform.
#pragma once
#include <windows.h>

#include <exception>

class CarriedException {
 public:
  bool Pending() const { return pending != nullptr; }
  // Inside a catch block: keeps the exception being handled and ends `dialog`.
  void KeepAndEnd(HWND dialog) {
    if (!pending) pending = std::current_exception();
    EndDialog(dialog, kEndedByException);
  }
  void Clear() { pending = nullptr; }
  // Throws the kept exception, if any; none is kept afterwards.
  void RethrowIfAny() {
    if (!pending) return;
    const std::exception_ptr e = pending;
    pending = nullptr;
    std::rethrow_exception(e);
  }

 private:
  // What a dialog ended this way returns from the modal loop; never seen by callers,
  // since they rethrow instead.
  static constexpr INT_PTR kEndedByException = -1;
  std::exception_ptr pending;
};
