// The preview's zoom: its levels, fit, where the wheel and a double-click leave the
// picture, and the zoomed picture on every path against a plain account of its means;
// and the picture at 1:1 through the rows against the pixel rule.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "dialogs/checker_blend.h"
#include "dialogs/filtered_preview.h"
#include "dialogs/pane_view.h"
#include "dialogs/zoomed_preview.h"
#include "filters/pixel_rules.h"

namespace {

TEST(ZoomLevels, StepOutThroughTheTableUpToFitAndBackIn) {
  std::vector<int32_t> out{1};
  while (out.back() < 100) out.push_back(ZoomOut(out.back(), 100));
  EXPECT_EQ(out, (std::vector<int32_t>{1, 2, 3, 4, 6, 8, 12, 18, 27, 40, 60, 90, 100}));
  std::vector<int32_t> in{100};
  while (in.back() > 1) in.push_back(ZoomIn(in.back()));
  EXPECT_EQ(in, (std::vector<int32_t>{100, 90, 60, 40, 27, 18, 12, 8, 6, 4, 3, 2, 1}));
  EXPECT_EQ(ZoomOut(1, 1), 1);  // a picture that fits at 1:1 has no other level
  EXPECT_EQ(ZoomOut(100, 100), 100);
  EXPECT_EQ(ZoomOut(INT32_MAX - 1, INT32_MAX), INT32_MAX);
  EXPECT_EQ(ZoomIn(INT32_MAX), 1485738816);
}

TEST(ZoomLevels, FitIsTheSmallestWholeLevelThatShowsEverything) {
  struct Case {
    int32_t width, height, paneWidth, paneHeight, fit;
  };
  const Case cases[] = {
      {6000, 4000, 200, 180, 30}, {200, 180, 200, 180, 1},  {201, 1, 200, 180, 2},
      {1, 181, 200, 180, 2},      {1, 1, 200, 180, 1},      {0, 0, 200, 180, 1},
      {-5, 10, 200, 180, 1},      {100, 100, 0, 0, 1},      {INT32_MAX, 1, 200, 180, 10737419},
      {1, INT32_MAX, 1, 1, INT32_MAX}, {32767, 16384, 200, 180, 164},
  };
  for (const Case& c : cases) {
    const int32_t fit = FitZoom(c.width, c.height, c.paneWidth, c.paneHeight);
    EXPECT_EQ(fit, c.fit) << c.width << "x" << c.height;
    if (c.paneWidth > 0 && c.paneHeight > 0) {
      EXPECT_LE(ZoomedLength(c.width, fit), c.paneWidth);
      EXPECT_LE(ZoomedLength(c.height, fit), c.paneHeight);
    }
  }
}

TEST(PaneViewZoom, TheWheelKeepsThePointUnderTheCursorAndAddsUpSmallTurns) {
  PaneView view;
  view.Reset(3000, 2000, 200, 180, true);  // fit 15
  ASSERT_EQ(view.Fit(), 15);
  EXPECT_FALSE(view.Wheel(-40, 100, 90, 200, 180));  // a third of a notch
  EXPECT_FALSE(view.Wheel(-40, 100, 90, 200, 180));
  EXPECT_TRUE(view.Wheel(-40, 100, 90, 200, 180));
  EXPECT_EQ(view.Zoom(), 2);
  EXPECT_FALSE(view.Wheel(80, 100, 90, 200, 180));  // turning back starts afresh
  EXPECT_FALSE(view.Wheel(-80, 100, 90, 200, 180));
  ASSERT_TRUE(view.Wheel(120, 150, 90, 200, 180));  // in at x 150: image column 301 stays
  EXPECT_EQ(view.ScrollX(), 301 - 150);
  EXPECT_TRUE(view.Wheel(-120 * 40, 0, 0, 200, 180));  // a storm ends at fit, centred
  EXPECT_EQ(view.Zoom(), 15);
  const PaneView::Layout fit = view.Place(200, 180);
  EXPECT_EQ(fit.h.origin, 0);
  EXPECT_EQ(fit.v.origin, 23);  // 134 rows in 180
  EXPECT_FALSE(view.CanPan(200, 180));
  // A double-click at fit goes to 1:1 with the clicked point (pane 100, 90: image
  // 1507, 1012) in the middle; another goes back to fit.
  EXPECT_TRUE(view.ToggleFit(100, 90, 200, 180));
  EXPECT_EQ(view.Zoom(), 1);
  EXPECT_EQ(view.ScrollX(), 1507 - 100);
  EXPECT_EQ(view.ScrollY(), (90 - 23) * 15 + 7 - 90);
  EXPECT_TRUE(view.ToggleFit(0, 0, 200, 180));
  EXPECT_EQ(view.Zoom(), 15);
}

TEST(PaneViewZoom, ADragPansTheZoomedPictureAndEndsWithTheZoom) {
  PaneView view;
  view.Reset(1000, 100, 200, 180, true);  // fit 5
  view.Wheel(-120, 0, 0, 200, 180);
  view.StartDrag(100, 50);
  EXPECT_TRUE(view.DragTo(-500, 50, 200, 180));
  EXPECT_EQ(view.ScrollX(), 300);  // 500 pane pixels wide at 1:2
  view.Wheel(-120, 0, 0, 200, 180);
  EXPECT_FALSE(view.Dragging());
  // Home (as the dialog ends) keeps the picture's levels and nothing else.
  view.StartDrag(0, 0);
  view.ShowOriginal(true);
  view.Home();
  EXPECT_EQ(view.Zoom(), 1);
  EXPECT_EQ(view.Fit(), 5);
  EXPECT_EQ(view.ScrollX(), 0);
  EXPECT_FALSE(view.Dragging());
  EXPECT_FALSE(view.ShowsOriginal());
}

// The zoomed picture worked out plainly: per pane pixel, the rounded mean of the
// block's pixels over its square.
uint32_t ExpectedBlock(const std::vector<uint8_t>& image, int64_t width, int64_t height,
                       int64_t bx, int64_t by, int64_t n, int32_t paneX, int32_t paneY) {
  uint64_t sum[3] = {}, count = 0;
  const uint32_t level = CheckerLevel(paneX, paneY);
  for (int64_t y = by * n; y < std::min(by * n + n, height); ++y) {
    for (int64_t x = bx * n; x < std::min(bx * n + n, width); ++x, ++count) {
      const uint8_t* p = &image[size_t(y * width + x) * 4];
      for (int k = 0; k < 3; ++k) sum[k] += (level * (255 - p[3]) + p[k] * p[3]) / 255;
    }
  }
  return uint32_t((sum[2] + count / 2) / count) << 16 | uint32_t((sum[1] + count / 2) / count) << 8 |
         uint32_t((sum[0] + count / 2) / count);
}

TEST(ZoomedPreview, EveryPathMatchesThePlainMeansAcrossStripsAndLongBlocks) {
  struct Case {
    int32_t width, height, zoom, scrollX, scrollY;
  };
  // 9000 columns cross strips; 600 rows at 1:600 would overflow 16-bit column sums.
  const Case cases[] = {{37, 29, 3, 0, 0}, {41, 66, 4, 0, 3}, {9000, 3, 45, 0, 0}, {2, 600, 600, 0, 0}};
  std::mt19937 random(20);
  for (const Case& c : cases) {
    std::vector<uint8_t> image(size_t(c.width) * c.height * 4);
    for (uint8_t& b : image) b = uint8_t(random() % 4 == 0 ? 255 * (random() % 2) : random());
    for (size_t i = 3; i < image.size(); i += 4) {
      if (i / 4 % size_t(c.width) < 16) image[i] = 255;  // opaque runs, which take a short way
    }
    const PaneSize pane{220, 12}, imageSize{c.width, c.height};
    const AxisLayout h = LayoutZoomedAxis(pane.width, c.width, c.zoom, c.scrollX);
    const AxisLayout v = LayoutZoomedAxis(pane.height, c.height, c.zoom, c.scrollY);
    for (RowPath path : kRowPaths) {
      if (!HasRowPath(CpuidFeatures(), path)) continue;
      SCOPED_TRACE(RowPathName(path));
      std::vector<uint32_t> buffer(size_t(pane.width) * pane.height, 0xABCDEF);
      ZoomScratch scratch;
      ASSERT_TRUE(scratch.Allocate(pane.width));
      ComposeZoomedPreview(buffer.data(), pane, {h.origin, v.origin}, {h.visible, v.visible},
                           {h.scroll, v.scroll}, c.zoom, image.data(), imageSize, RowRule(),
                           CheckerSumsRowOf(path), scratch);
      for (int32_t y = 0; y < pane.height; ++y) {
        for (int32_t x = 0; x < pane.width; ++x) {
          const bool inside = x >= h.origin && x < h.origin + h.visible && y >= v.origin && y < v.origin + v.visible;
          const uint32_t expected = inside ? ExpectedBlock(image, c.width, c.height, h.scroll + x - h.origin,
                                                           v.scroll + y - v.origin, c.zoom, x, y)
                                           : 0xABCDEF;
          ASSERT_EQ(buffer[size_t(y) * pane.width + x], expected) << c.width << "x" << c.height << " at " << x << ", " << y;
        }
      }
    }
  }
}

TEST(FilteredPreview, EveryPathMatchesThePixelRuleAcrossPiecesAndLeavesTheRest) {
  struct Case {
    PaneSize pane;
    PanePoint origin;
    PaneSize visible;
    PanePoint scroll;
  };
  // Rows longer than the pieces they are filtered in, placed and scrolled; none at all.
  const Case cases[] = {{{1300, 4}, {7, 1}, {1290, 2}, {5, 3}},
                        {{40, 30}, {0, 0}, {40, 30}, {0, 0}},
                        {{20, 10}, {3, 2}, {0, 5}, {0, 0}}};
  const PaneSize imageSize{1400, 40};
  std::mt19937 random(27);
  std::vector<uint8_t> image(size_t(imageSize.width) * imageSize.height * 4);
  for (uint8_t& b : image) b = uint8_t(random() % 4 == 0 ? 255 * (random() % 2) : random());
  for (RowPath path : kRowPaths) {
    if (!HasRowPath(CpuidFeatures(), path)) continue;
    SCOPED_TRACE(RowPathName(path));
    const FilterRows& rows = RowsOf(path);
    const RowRule posterize([&rows](const uint8_t* s, uint8_t* d, int32_t n) {
      rows.posterize(s, d, n, 5, RowStores::kCached);
    });
    for (const Case& c : cases) {
      for (bool filtered : {false, true}) {
        std::vector<uint32_t> buffer(size_t(c.pane.width) * c.pane.height, 0xABCDEF);
        ComposeFilteredPreview(buffer.data(), c.origin, c.visible, c.pane, c.scroll, image.data(), imageSize,
                               filtered ? posterize : RowRule());
        for (int32_t y = 0; y < c.pane.height; ++y) {
          for (int32_t x = 0; x < c.pane.width; ++x) {
            const int32_t i = y - c.origin.y, j = x - c.origin.x;
            uint32_t expected = 0xABCDEF;
            if (i >= 0 && i < c.visible.height && j >= 0 && j < c.visible.width) {
              const uint8_t* p = &image[(size_t(c.scroll.y + i) * imageSize.width + c.scroll.x + j) * 4];
              const Bgr shown = filtered ? Posterize(Bgr{p[0], p[1], p[2]}, 5) : Bgr{p[0], p[1], p[2]};
              const uint8_t colour[3] = {shown.b, shown.g, shown.r};
              expected = BlendOnChecker(x, y, colour, p[3]);
            }
            ASSERT_EQ(buffer[size_t(y) * c.pane.width + x], expected)
                << c.pane.width << " wide, " << (filtered ? "filtered" : "as it is") << ", at " << x << ", " << y;
          }
        }
      }
    }
  }
}

}  // namespace
