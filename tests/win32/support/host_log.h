// What the plug-in did to its host during a test: calls of the host's
// PBF_QueryClientInfo (exported by every test program) and captured message boxes,
// in the order they happened.
#pragma once
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

struct HostEvent {
  enum Kind { kQuery, kMessageBox } kind = kQuery;
  int code = 0, argument = 0;  // kQuery
  HWND owner = nullptr;        // kMessageBox
  std::string text, caption;            // kMessageBox: in code page 932, as the module keeps them
  std::wstring wideText, wideCaption;  // kMessageBox: as the module passed them
  UINT type = 0;
};

std::vector<HostEvent>& HostEvents();
void ClearHostEvents();

// What the test's PBF_QueryClientInfo answers.
void SetHostQueryResult(int result);

// Makes the message boxes that `module` shows (through MessageBoxW, the only way it
// shows them) land in HostEvents() instead of on screen; each is answered with IDOK.
void CaptureMessageBoxes(HMODULE module);

// HostEvents() hold what a filter's error leaves: the host told first (query 5, 0),
// then one error box (icon, caption エラー) owned by `owner` saying `text` (code page 932).
::testing::AssertionResult FilterErrorReported(HWND owner, const std::string& text);
