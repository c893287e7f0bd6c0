// The system's and the imaging component's error codes, in words.
#pragma once
#include <windows.h>

#include <string>

// The words for a system error or an HRESULT, on one line, followed by the code in
// hex: "the image's pixel format is not supported (0x88982F80)". The imaging codes,
// which the system's message table lacks, come from a table of our own.
std::wstring SystemMessage(DWORD error);
// The code alone, as SystemMessage ends: "(0x88982F80)".
std::wstring CodeInHex(DWORD error);
