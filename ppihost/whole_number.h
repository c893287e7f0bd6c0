// Whole numbers typed on the command line.
#pragma once
#include <cstdint>
#include <string>

// The text as a decimal int32_t, all of it (no leading space, nothing after); false
// when it is not one.
bool ReadInt32(const std::wstring& text, int32_t& value);
