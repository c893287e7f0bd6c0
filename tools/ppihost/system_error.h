// Small helpers around the platform's file names and error texts.
#pragma once
#include <windows.h>

#include <string>

// The words for a system error or an HRESULT, on one line, followed by the code in
// hex: "the image's pixel format is not supported (0x88982F80)". The imaging codes,
// which the system's message table lacks, come from a table of our own.
std::wstring SystemMessage(DWORD error);
std::wstring FullPath(const std::wstring& path);
