// The three things ppihost does. Each returns the exit code or throws HostError.
#pragma once
#include "ppihost/command_line.h"

int ListCommand(const Arguments& args);
int RunCommand(const Arguments& args);
int SetupCommand(const Arguments& args);
