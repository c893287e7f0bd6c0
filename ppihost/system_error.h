// Small helpers around the platform's file names and error texts.
#pragma once
#include <windows.h>

#include <string>

// The words for a system error or an HRESULT, on one line, followed by the code in
// hex: "the image's pixel format is not supported (0x88982F80)". The imaging codes,
// which the system's message table lacks, come from a table of our own.
std::wstring SystemMessage(DWORD error);
// The absolute, cleaned-up form of a path (the path itself when the system refuses it).
std::wstring FullPath(const std::wstring& path);
// A full path in the form the file functions accept at any length: past MAX_PATH it
// takes the \\?\ prefix, which also turns off the functions' own clean-up of the
// path, so only a path that FullPath made may be given.
std::wstring AnyLengthPath(const std::wstring& full);
// A name in the one case in which the file system compares names: two names it takes
// for the same file have the same FoldCase.
std::wstring FoldCase(std::wstring name);
