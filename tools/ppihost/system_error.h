// Small helpers around the platform's file names and error texts.
#pragma once
#include <windows.h>

#include <string>

// The system's text for an error code, on one line.
std::wstring SystemMessage(DWORD error);
std::wstring FullPath(const std::wstring& path);
