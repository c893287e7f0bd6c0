// Building the settings-file path from the module's path. Platform-free.
#pragma once
#include <cstddef>

// `buffer` holds the module file's path, `length` bytes long (as the platform returned
// it, with `length` < `size` when it was not truncated). Replaces everything after the
// last backslash with `fileName`. When the path was truncated, holds no backslash, or
// the result would not fit in `size` bytes, the buffer becomes the empty string and the
// result is false: reads then give defaults and nothing is written anywhere.
bool ReplaceFileName(char* buffer, size_t size, size_t length, const char* fileName);
