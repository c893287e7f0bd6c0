// Drives a module's modal dialog from inside its own message loop: the test opens the
// dialog (e.g. through PBF_Setup) on its thread, and a thread timer performs scripted
// steps on it one per tick, so that posted messages (keys) are processed between
// steps. A watchdog ends a dialog that outlives its script, so a test fails instead
// of hanging.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using DialogStep = std::function<void(HWND dialog)>;

struct DriveResult {
  int returned = 0;            // what `open` returned
  bool dialogSeen = false;     // a dialog of this thread appeared
  int stepsDone = 0;           // steps performed
  bool watchdogFired = false;  // the dialog had to be ended by force
};

// What the watchdog ends a dialog with.
inline constexpr int kWatchdogEnded = 0x5D0C;

// Calls `open` and, once a visible dialog (class #32770) of this thread shows, runs
// `steps` on it. After `limitMs` the dialog, if still open, is ended by force.
DriveResult DriveDialog(const std::function<int()>& open, std::vector<DialogStep> steps,
                        DWORD limitMs = 15000);

// A visible top-level window standing in for the host's main window. It also
// initialises the common controls, as the host must.
class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;
  operator HWND() const { return window; }

 private:
  HWND window;
};

// --- actions, each as the user's action would reach the dialog --------------------

void SetEditText(HWND dialog, int id, const char* text);  // EN_CHANGE is synchronous
std::string ControlText(HWND dialog, int id);
std::wstring WindowTextW(HWND window);
inline std::wstring ControlTextW(HWND dialog, int id) { return WindowTextW(GetDlgItem(dialog, id)); }
// The text of the control just before `id` in the tab order: its label.
std::wstring LabelText(HWND dialog, int id);
int TrackbarPos(HWND dialog, int id);
// Edit box `box` and trackbar `slider` agree on `value`.
::testing::AssertionResult BoxAndTrackbarShow(HWND dialog, int box, int slider, int value);
// A WM_HSCROLL from the trackbar, as it sends for keys and thumb moves.
void ScrollTrackbar(HWND dialog, int id, int code, int thumbPosition = 0);
void SelectComboItem(HWND dialog, int id, int index);  // with CBN_SELCHANGE
int ComboSelection(HWND dialog, int id);
std::vector<std::string> ComboItems(HWND dialog, int id);
void ClickButton(HWND dialog, int id);  // BM_CLICK
inline void Cancel(HWND dialog) { ClickButton(dialog, IDCANCEL); }
inline void PressOk(HWND dialog) { ClickButton(dialog, IDOK); }
bool IsChecked(HWND dialog, int id);
void PressEscape(HWND dialog);  // a posted key, translated by the modal loop
void PressCloseBox(HWND dialog);

// Mouse messages to the pane, in its client coordinates (negative outside it).
void MouseDown(HWND pane, int x, int y);
void MouseMove(HWND pane, int x, int y, bool buttonDown);
void MouseUp(HWND pane, int x, int y);
void DoubleClick(HWND pane, int x, int y);  // the message a double-click sends, alone
void RightButton(HWND pane, int x, int y, bool down);
// A wheel turn (`delta` 120 a notch away from the user) sent, or with `post` posted, to
// `target` with the cursor at the pane's client point (x, y).
void Wheel(HWND target, HWND pane, int x, int y, int delta, bool post = false);

// --- the pane's picture ------------------------------------------------------------

struct PanePicture {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, rows top to bottom
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// What the pane shows now (after letting it paint), printed into a memory DC.
PanePicture CapturePane(HWND pane);

// Writes a window's picture as a 24-bit BMP file (for documentation screenshots).
bool SaveWindowBitmap(HWND window, const std::string& path);
