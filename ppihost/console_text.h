// Text to and from the terminal. Output is UTF-8 on pipes and files, and goes through
// the console's own wide-character output when the stream is a console, whatever the
// console's code page.
#pragma once
#include <windows.h>

#include <string>

std::wstring WideFromCodePage(const std::string& text, UINT codePage);
std::string BytesFromWide(const std::wstring& text, UINT codePage);
inline std::string Utf8FromWide(const std::wstring& text) { return BytesFromWide(text, CP_UTF8); }

// A console (not a pipe, a file or the NUL device).
bool IsTerminal(HANDLE stream);

void Write(HANDLE stream, const std::wstring& text);
void WriteLine(HANDLE stream, const std::wstring& text);

inline HANDLE StdOut() { return GetStdHandle(STD_OUTPUT_HANDLE); }
inline HANDLE StdErr() { return GetStdHandle(STD_ERROR_HANDLE); }
inline HANDLE StdIn() { return GetStdHandle(STD_INPUT_HANDLE); }
