// A failure that ends the command: one line for the user and the exit code.
#pragma once
#include <string>

struct HostError {
  int exitCode;
  std::wstring message;
  // Memory ran out: with less else in flight, the same work may pass.
  bool outOfMemory = false;
};
