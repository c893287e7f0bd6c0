// ppihost's exit codes, one per kind of failure, so that scripts can tell them apart.
#pragma once

inline constexpr int kExitOk = 0;
// The plug-in declined: it reported an error while running (a message box), or the
// user did not confirm its settings dialog.
inline constexpr int kExitDeclined = 1;
inline constexpr int kExitUsage = 2;   // bad arguments, unknown filter, region outside the image
inline constexpr int kExitPlugin = 3;  // plug-in missing, not loadable or without the exports
inline constexpr int kExitInput = 4;   // input image missing, unreadable or unsupported
inline constexpr int kExitOutput = 5;  // output path unwritable or of an unsupported type
inline constexpr int kExitFailure = 6;  // anything else: out of memory, a crash
// The user interrupted the run (Ctrl+C, Ctrl+Break, the console closed), as shells
// report a process ended by SIGINT.
inline constexpr int kExitInterrupted = 130;
