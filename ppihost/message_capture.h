// Message boxes the plug-in raises while it runs. A filter tells the user about
// unusable settings in a message box; in an unattended run nobody is there to press OK, so
// the boxes are not shown but printed to standard error. Either way the host learns
// that the run failed.
#pragma once
#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "ppihost/import_patch.h"

struct CapturedMessage {
  std::wstring caption;
  std::wstring text;
};

// Redirects the plug-in's MessageBox imports for its lifetime. In an unattended run a hook
// on this thread also closes any dialog box that reaches the screen by another way
// (a pointer the plug-in looked up itself, a library it loaded), reading its text
// first. One at a time, on the thread that calls the plug-in. Each message is printed
// as it comes, unless `echo` is false: the caller then says it in a line of its own.
class MessageCapture {
 public:
  MessageCapture(HMODULE plugin, bool unattended, bool echo = true);
  ~MessageCapture();
  MessageCapture(const MessageCapture&) = delete;
  MessageCapture& operator=(const MessageCapture&) = delete;

  const std::vector<CapturedMessage>& Messages() const { return messages; }

 private:
  friend struct MessageBoxHooks;
  int Raise(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type);
  void Record(const std::wstring& caption, const std::wstring& text);
  static LRESULT CALLBACK CloseDialogs(int code, WPARAM wParam, LPARAM lParam);

  bool unattended;
  bool echo;
  std::vector<CapturedMessage> messages;
  HHOOK dialogHook = nullptr;
  ImportPatches patches;
};

// "caption: text" on one line.
std::wstring Said(const CapturedMessage& message);

