// What ppihost says of itself: its version resource (ppihost.rc) and --version take the
// texts from here, and the version from project(... VERSION ...) in CMakeLists.txt.
#pragma once
#include "zuzovezu_version.h"

#define PPIHOST_PRODUCT "ppihost"
#define PPIHOST_DESCRIPTION "a command-line host for .ppi filter plug-ins"
#define PPIHOST_COMPANY "the zuzovezu project"
#define PPIHOST_COPYRIGHT "Copyright (c) 2026 the zuzovezu project"
