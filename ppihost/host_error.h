// A failure that ends the command: one line for the user and the exit code.
#pragma once
#include <string>

struct HostError {
  int exitCode;
  std::wstring message;
};
