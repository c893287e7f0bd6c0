// The module's own handle, for its resources and its file name: the image the code
// was linked into, unless its start-up named another module.
#pragma once
#include <windows.h>

HMODULE ModuleHandle();
// Names the module that ModuleHandle() gives, null for the linked image again: the
// tests that link the module's objects into a program of their own name the plug-in
// they loaded, whose resources and settings file they use.
void UseModuleHandle(HMODULE module);
