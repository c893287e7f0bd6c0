// Redirects one imported function of a loaded module by rewriting its import address
// table, so that a test sees exactly what the module passed.
#pragma once
#include <windows.h>

// Returns the previous target, or null when the module does not import the function.
void* PatchImport(HMODULE module, const char* dllName, const char* functionName, void* target);
