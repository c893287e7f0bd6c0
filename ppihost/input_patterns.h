// The input files a run over many pictures names. An argument is a file, or a pattern
// with * or ? in its last part (photos\*.jpg), which ppihost expands itself since
// cmd.exe leaves that to each program.
#pragma once
#include <string>
#include <vector>

// Each argument in turn, a pattern replaced by the files it matches (not folders), in
// the order of their names and written with the pattern's folder part. Throws
// HostError: kExitUsage for a pattern in a folder part, kExitInput for a pattern that
// matches no file.
std::vector<std::wstring> ExpandInputs(const std::vector<std::wstring>& arguments);
