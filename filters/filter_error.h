// The one error path of a filter whose stored settings are unusable.
#pragma once
#include <windows.h>

// Calls the host's PBF_QueryClientInfo(code, argument) through the main executable's
// exports; 0 when the host has no such export.
int CallHostQuery(int code, int argument);

// Tells the host (query 5) and then the user, in a message box owned by `window`.
void ReportFilterError(HWND window, const char* text);
