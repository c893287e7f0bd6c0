// An edit box that holds a number, as its dialog sees it: the text as typed, and the
// dialog's own writes into it, after which the caret stands at the end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

class NumberBox {
 public:
  explicit NumberBox(int id) : id(id) {}
  int Id() const { return id; }

  std::wstring Text(HWND dialog) const;
  // Writes `value` in decimal (as its unsigned form unless `isSigned`). The box's
  // EN_CHANGE, handled before this returns, sees OwnWrite() set.
  void Write(HWND dialog, int32_t value, bool isSigned);
  // Whether the text being handled is one the dialog wrote itself.
  bool OwnWrite() const { return writing; }

 private:
  int id;
  bool writing = false;
};
