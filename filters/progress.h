// Progress arithmetic of the region walk.
#pragma once
#include <cstdint>

#include "base/host_types.h"

// Progress reported after row k of h (k counts from 0): k * 10000 / h, truncated.
// Computed in 64 bits so that it stays exact for any row count; wherever the 32-bit
// product fits, the result is the same as the 32-bit form.
inline int32_t ProgressAfterRow(int32_t k, int32_t h) {
  return static_cast<int32_t>(static_cast<int64_t>(k) * kProgressMaximum / h);
}

inline void ReportProgress(const ProgressSink* sink, int32_t position) {
  if (sink && sink->callback) sink->callback(position, kProgressMaximum, sink->userData);
}
