#include "dialogs/number_box.h"

std::wstring NumberBox::Text(HWND dialog) const {
  HWND box = GetDlgItem(dialog, id);
  const int length = GetWindowTextLengthW(box);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(box, &text[0], length + 1)));
  return text;
}

void NumberBox::Write(HWND dialog, int32_t value, bool isSigned) {
  // A restore nests inside the write it corrects: the outer write is still ours.
  const bool outer = writing;
  writing = true;
  SetDlgItemInt(dialog, id, static_cast<UINT>(value), isSigned ? TRUE : FALSE);
  writing = outer;
  // A new text leaves the caret at the start, where the next digit would go in front
  // of the number.
  HWND box = GetDlgItem(dialog, id);
  const int end = GetWindowTextLengthW(box);
  SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), static_cast<LPARAM>(end));
}
