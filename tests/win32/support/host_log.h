// What the plug-in did to its host during a test: calls of the host's
// PBF_QueryClientInfo (exported by every test program) and captured message boxes,
// in the order they happened.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct HostEvent {
  enum Kind { kQuery, kMessageBox } kind = kQuery;
  int code = 0, argument = 0;  // kQuery
  HWND owner = nullptr;        // kMessageBox
  std::string text, caption;
  UINT type = 0;
};

std::vector<HostEvent>& HostEvents();
void ClearHostEvents();

// What the test's PBF_QueryClientInfo answers.
void SetHostQueryResult(int result);

// Records a message box instead of showing it and answers IDOK.
int WINAPI CapturedMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type);
