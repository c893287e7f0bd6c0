#include "support/keyboard_and_spies.h"

#include "ppihost/import_patch.h"

void TypeKeys(HWND dialog, int id, const std::string& text, bool replaceAll) {
  HWND edit = GetDlgItem(dialog, id);
  SetFocus(edit);
  if (replaceAll) SendMessageA(edit, EM_SETSEL, 0, -1);
  for (char c : text) SendMessageA(edit, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PlaceCaret(HWND dialog, int id, int position) {
  SendDlgItemMessageA(dialog, id, EM_SETSEL, position, position);
}

int Caret(HWND dialog, int id) {
  DWORD start = 0, end = 0;
  SendDlgItemMessageW(dialog, id, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return start == end ? static_cast<int>(start) : -1;
}

void PressKey(HWND dialog, int id, UINT virtualKey) {
  HWND control = GetDlgItem(dialog, id);
  SetFocus(control);
  SendMessageA(control, WM_KEYDOWN, virtualKey, 1);
  SendMessageA(control, WM_KEYUP, virtualKey, 0xC0000001);
}

namespace {

int paints = 0;
std::vector<ProfileWrite> writes;

int WINAPI SpyStretchDIBits(HDC dc, int xDest, int yDest, int destWidth, int destHeight,
                            int xSrc, int ySrc, int srcWidth, int srcHeight, const void* bits,
                            const BITMAPINFO* info, UINT usage, DWORD rop) {
  ++paints;
  return StretchDIBits(dc, xDest, yDest, destWidth, destHeight, xSrc, ySrc, srcWidth, srcHeight,
                       bits, info, usage, rop);
}

// The module's sections, keys and values are ASCII.
std::string OrNull(LPCWSTR s) { return s ? std::string(s, s + wcslen(s)) : "<null>"; }

BOOL WINAPI SpyWriteProfile(LPCWSTR section, LPCWSTR key, LPCWSTR value, LPCWSTR path) {
  writes.push_back({OrNull(section), OrNull(key), OrNull(value)});
  return WritePrivateProfileStringW(section, key, value, path);
}

}  // namespace

void CountPreviewPaints(HMODULE module) {
  PatchImport(module, "gdi32.dll", "StretchDIBits", reinterpret_cast<void*>(&SpyStretchDIBits));
  paints = 0;
}
int PreviewPaints() { return paints; }

void RecordProfileWrites(HMODULE module) {
  PatchImport(module, "kernel32.dll", "WritePrivateProfileStringW",
              reinterpret_cast<void*>(&SpyWriteProfile));
  writes.clear();
}
const std::vector<ProfileWrite>& ProfileWrites() { return writes; }

std::vector<std::string> ProfileWriteTexts() {
  std::vector<std::string> texts;
  for (const ProfileWrite& w : ProfileWrites()) texts.push_back(w.Text());
  return texts;
}
