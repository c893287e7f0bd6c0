// How a fast row writes its destination.
#pragma once
#include <cstdint>

#include "base/host_types.h"

enum class RowStores {
  kCached,     // ordinary stores: the result stays in the caches
  kStreaming,  // non-temporal stores: the result goes straight to memory
};

// Below this many destination bytes the result may well still be cached when the host
// reads it, so streaming it out would only cost.
inline constexpr uint64_t kStreamingMinBytes = uint64_t{4} << 20;

// Streaming pays off only when the destination is a buffer of its own (in place, the
// row was just read into the caches anyway) and far larger than the caches.
inline RowStores ChooseRowStores(const uint8_t* source, const uint8_t* destination,
                                 const PixelRegion& region) {
  if (source == destination || region.right <= region.left || region.bottom <= region.top) {
    return RowStores::kCached;
  }
  const uint64_t bytes = uint64_t(uint32_t(region.right - region.left)) *
                         uint32_t(region.bottom - region.top) * 4u;
  return bytes >= kStreamingMinBytes ? RowStores::kStreaming : RowStores::kCached;
}
