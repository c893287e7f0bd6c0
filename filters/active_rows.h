// The rows the filters run: the fastest path this processor has, chosen at the first
// call from what the system and cpuid report.
#pragma once
#include "filters/row_paths.h"

CpuFeatures ProcessorFeatures();

const FilterRows& ActiveRows();
RowPath ActiveRowPath();

// For white-box tests and the benchmark, which link the module's objects: the filters
// run on `path` from now on. The module does not export it; `path` must be one that
// ProcessorFeatures() has.
void ForceRowPath(RowPath path);
