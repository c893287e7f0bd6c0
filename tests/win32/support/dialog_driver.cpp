#include "support/dialog_driver.h"

#include <commctrl.h>

#include <fstream>

namespace {

constexpr UINT kTickMs = 10;

struct Drive {
  std::vector<DialogStep> steps;
  DriveResult result;
  HWND dialog = nullptr;
  DWORD start = 0, limit = 0;
};
Drive* current = nullptr;

BOOL CALLBACK FindDialog(HWND window, LPARAM found) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) == "#32770" && IsWindowVisible(window)) {
    *reinterpret_cast<HWND*>(found) = window;
    return FALSE;
  }
  return TRUE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  Drive* d = current;
  if (!d) return;
  if (!d->dialog) {
    HWND found = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), &FindDialog, reinterpret_cast<LPARAM>(&found));
    if (found) {
      d->dialog = found;
      d->result.dialogSeen = true;
    }
  } else if (IsWindow(d->dialog) && static_cast<size_t>(d->result.stepsDone) < d->steps.size()) {
    // Counted first: a step may end the dialog, or even re-enter through a nested loop.
    const size_t i = static_cast<size_t>(d->result.stepsDone++);
    d->steps[i](d->dialog);
    return;
  }
  if (GetTickCount() - d->start > d->limit && d->dialog && IsWindow(d->dialog)) {
    d->result.watchdogFired = true;
    EndDialog(d->dialog, kWatchdogEnded);
  }
}

}  // namespace

DriveResult DriveDialog(const std::function<int()>& open, std::vector<DialogStep> steps,
                        DWORD limitMs) {
  Drive drive;
  drive.steps = std::move(steps);
  drive.start = GetTickCount();
  drive.limit = limitMs;
  Drive* const previous = current;
  current = &drive;
  const UINT_PTR timer = SetTimer(nullptr, 0, kTickMs, &Tick);
  drive.result.returned = open();
  KillTimer(nullptr, timer);
  current = previous;
  // Leave no stray timer message for the next test.
  MSG m;
  while (PeekMessageA(&m, nullptr, WM_TIMER, WM_TIMER, PM_REMOVE)) {
  }
  return drive.result;
}

namespace {
// Wine waits up to two seconds for a window manager to confirm every hidden window;
// Xvfb runs none. Unmanaged windows skip the wait (read when the display driver
// starts, so set before the first window; it stays in the test prefix).
void UseUnmanagedWindows() {
  HKEY key = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\X11 Driver", 0, nullptr, 0, KEY_SET_VALUE,
                      nullptr, &key, nullptr) == ERROR_SUCCESS) {
    RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
  }
}
const bool unmanaged = (UseUnmanagedWindows(), true);
}  // namespace

HostWindow::HostWindow() {
  (void)unmanaged;
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  window = CreateWindowExA(0, "STATIC", "host", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 640, 480,
                           nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HostWindow::~HostWindow() {
  if (window) DestroyWindow(window);
}

void SetEditText(HWND dialog, int id, const char* text) { SetDlgItemTextA(dialog, id, text); }

std::string ControlText(HWND dialog, int id) {
  char text[256] = {};
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

std::wstring WindowTextW(HWND window) {
  wchar_t text[256] = L"";
  GetWindowTextW(window, text, 256);
  return text;
}

std::wstring LabelText(HWND dialog, int id) {
  return WindowTextW(GetWindow(GetDlgItem(dialog, id), GW_HWNDPREV));
}

int TrackbarPos(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, TBM_GETPOS, 0, 0));
}

::testing::AssertionResult BoxAndTrackbarShow(HWND dialog, int box, int slider, int value) {
  const std::string text = ControlText(dialog, box);
  const int position = TrackbarPos(dialog, slider);
  if (text == std::to_string(value) && position == value) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "box \"" << text << "\", trackbar " << position
                                       << ", expected " << value;
}

void ScrollTrackbar(HWND dialog, int id, int code, int thumbPosition) {
  SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(code, thumbPosition),
               reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void SelectComboItem(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  SendMessageA(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(combo));
}

int ComboSelection(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

std::vector<std::string> ComboItems(HWND dialog, int id) {
  std::vector<std::string> items;
  const int n = static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < n; ++i) {
    char text[256] = {};
    SendDlgItemMessageA(dialog, id, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    items.push_back(text);
  }
  return items;
}

void ClickButton(HWND dialog, int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); }

bool IsChecked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }

void PressEscape(HWND dialog) {
  HWND target = GetFocus();
  if (!target) target = dialog;
  PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
  PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

void PressCloseBox(HWND dialog) { SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); }

namespace {
LPARAM Point(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<int16_t>(x)), static_cast<WORD>(static_cast<int16_t>(y)));
}
}  // namespace

void MouseDown(HWND pane, int x, int y) { SendMessageA(pane, WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y)); }
void MouseMove(HWND pane, int x, int y, bool buttonDown) {
  SendMessageA(pane, WM_MOUSEMOVE, buttonDown ? MK_LBUTTON : 0, Point(x, y));
}
void MouseUp(HWND pane, int x, int y) { SendMessageA(pane, WM_LBUTTONUP, 0, Point(x, y)); }
void DoubleClick(HWND pane, int x, int y) { SendMessageA(pane, WM_LBUTTONDBLCLK, MK_LBUTTON, Point(x, y)); }
void RightButton(HWND pane, int x, int y, bool down) {
  SendMessageA(pane, down ? WM_RBUTTONDOWN : WM_RBUTTONUP, down ? MK_RBUTTON : 0, Point(x, y));
}
void Wheel(HWND target, HWND pane, int x, int y, int delta, bool post) {
  POINT screen{x, y};
  ClientToScreen(pane, &screen);
  const WPARAM w = MAKEWPARAM(0, static_cast<WORD>(static_cast<int16_t>(delta)));
  if (post) {
    PostMessageA(target, WM_MOUSEWHEEL, w, Point(screen.x, screen.y));
  } else {
    SendMessageA(target, WM_MOUSEWHEEL, w, Point(screen.x, screen.y));
  }
}

namespace {

// A 32-bit top-down DIB section of the given size, selected into a memory DC for
// `draw`, read back afterwards.
template <class Draw>
PanePicture DrawIntoBitmap(int width, int height, Draw draw) {
  PanePicture picture;
  if (width <= 0 || height <= 0) return picture;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return picture;
  HDC memory = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(memory, bitmap);
  draw(memory);
  GdiFlush();
  picture.width = width;
  picture.height = height;
  const uint32_t* p = static_cast<const uint32_t*>(bits);
  picture.pixels.reserve(static_cast<size_t>(width) * height);
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) picture.pixels.push_back(p[i] & 0xFFFFFFu);
  SelectObject(memory, old);
  DeleteDC(memory);
  DeleteObject(bitmap);
  return picture;
}

}  // namespace

PanePicture CapturePane(HWND pane) {
  UpdateWindow(pane);
  RECT client{};
  GetClientRect(pane, &client);
  // Printed, not read from the screen: a window over the pane changes nothing.
  return DrawIntoBitmap(client.right, client.bottom, [pane](HDC memory) {
    SendMessageA(pane, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(memory), PRF_CLIENT);
  });
}

bool SaveWindowBitmap(HWND window, const std::string& path) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN | RDW_FRAME);
  RECT r{};
  GetWindowRect(window, &r);
  HDC dc = GetWindowDC(window);
  const int width = r.right - r.left, height = r.bottom - r.top;
  const PanePicture p = DrawIntoBitmap(
      width, height, [&](HDC memory) { BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY); });
  ReleaseDC(window, dc);
  if (p.pixels.empty()) return false;
  const uint32_t rowBytes = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  header.biSize = sizeof header;
  header.biWidth = p.width;
  header.biHeight = p.height;  // bottom-up
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + rowBytes * p.height;
  std::ofstream out(path, std::ios::binary);
  out.write(reinterpret_cast<const char*>(&file), sizeof file);
  out.write(reinterpret_cast<const char*>(&header), sizeof header);
  std::vector<char> row(rowBytes, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    for (int x = 0; x < p.width; ++x) {
      const uint32_t c = p.At(x, y);
      row[x * 3] = static_cast<char>(c & 0xFF);
      row[x * 3 + 1] = static_cast<char>((c >> 8) & 0xFF);
      row[x * 3 + 2] = static_cast<char>((c >> 16) & 0xFF);
    }
    out.write(row.data(), rowBytes);
  }
  return static_cast<bool>(out);
}
