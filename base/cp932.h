// Code page 932 (Shift-JIS) byte classes. Platform-free.
#pragma once

// The first byte of a double-byte character; the byte after it, whatever its value
// (even 0x5C, a backslash), belongs to the same character.
inline bool IsCp932LeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}
