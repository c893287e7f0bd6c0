#include "filters/active_rows.h"

#include <windows.h>

namespace {

RowPath& Chosen() {
  static RowPath path = FastestRowPath(ProcessorFeatures());
  return path;
}

}  // namespace

CpuFeatures ProcessorFeatures() {
  CpuFeatures features = CpuidFeatures();
  // The system's word on SSE2 (it must also save XMM state); cpuid alone decides AVX2,
  // whose state xgetbv has already confirmed.
  features.sse2 = IsProcessorFeaturePresent(PF_XMMI64_INSTRUCTIONS_AVAILABLE) != 0;
  if (!features.sse2) features.avx2 = false;
  return features;
}

const FilterRows& ActiveRows() { return RowsOf(Chosen()); }

RowPath ActiveRowPath() { return Chosen(); }

void ForceRowPath(RowPath path) { Chosen() = path; }
