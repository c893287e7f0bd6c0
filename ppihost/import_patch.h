// Redirects one function a loaded module imports by rewriting its import address
// table. Only that module's calls are affected.
#pragma once
#include <windows.h>

// Returns the previous target, or null when the module does not import the function.
void* PatchImport(HMODULE module, const char* dllName, const char* functionName, void* target);
