// The module's own handle, for its resources and its file name. Defined with the
// filter registry, which receives it when the module is loaded.
#pragma once
#include <windows.h>

HMODULE ModuleHandle();
