// The platform's file names: their full and any-length forms, and the one case in
// which the file system compares them.
#pragma once
#include <string>

// The absolute, cleaned-up form of a path (the path itself when the system refuses it).
std::wstring FullPath(const std::wstring& path);
// A full path in the form the file functions accept at any length: past MAX_PATH it
// takes the \\?\ prefix, which also turns off the functions' own clean-up of the
// path, so only a path that FullPath made may be given.
std::wstring AnyLengthPath(const std::wstring& full);
// A file that exists, not a folder.
bool IsExistingFile(const std::wstring& path);
// A name in the one case in which the file system compares names: two names it takes
// for the same file have the same FoldCase.
std::wstring FoldCase(std::wstring name);
