// The preview at 1:1 through a filter's rule for a row of pixels: the rows the filters
// run, so that the pane shows what the filter writes. Platform-free.
#pragma once
#include <cstdint>

#include "dialogs/preview_compose.h"
#include "dialogs/zoomed_preview.h"

// Like ComposePreview, with the colours taken through `rule` (an empty rule leaves them
// as they are). Each row goes through the rule a piece at a time, into a buffer on the
// stack, so that painting allocates nothing.
void ComposeFilteredPreview(uint32_t* buffer, const PanePoint& origin, const PaneSize& visible,
                            const PaneSize& pane, const PanePoint& scroll, const uint8_t* image,
                            const PaneSize& imageSize, const RowRule& rule);
