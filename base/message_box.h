// The module's message boxes. Its texts are Shift-JIS bytes: they are converted with
// code page 932 whatever the system's ANSI code page, and shown through the UTF-16
// function, so that they read the same on every system.
#pragma once
#include <windows.h>

#include <string>

// `text` is code page 932 bytes; empty for a null pointer.
std::wstring WideFromCp932(const char* text);

int ShowMessageBox(HWND owner, const std::wstring& text, const char* caption, UINT type);
int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);
