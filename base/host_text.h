// Copying texts into buffers the host owns. Platform-free.
#pragma once
#include <cstddef>
#include <cstdint>

// strncpy semantics: at most `length` bytes, the rest padded with NULs, no terminator
// when the text fills the buffer. A null text copies as the empty string; a length of
// 0 or below (or a null buffer) writes nothing, where strncpy would overrun.
void CopyHostText(char* buffer, int32_t length, const char* text);

// The longest prefix of a code page 932 text that fits `maxBytes` bytes without
// splitting a double-byte character.
size_t FitCp932(const char* text, size_t maxBytes);

// Formats `head` + "\n\n" + `detail` into `buffer` (NUL-terminated, never overflowing),
// shortening `detail` at a character boundary when it does not fit.
void FormatWithDetail(char* buffer, size_t size, const char* head, const char* detail);
