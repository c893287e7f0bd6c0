// The previews' guards, with the module's own objects linked in: a box text the
// validation would never leave in place (put there past it) must not reach the division
// by n - 1 or the mask table; the last accepted value stands in.
#include <gtest/gtest.h>

#include <windows.h>

#include "dialogs/cut_low_bit_dialog.h"
#include "dialogs/posterization_dialog.h"
#include "plugin/filter_registry.h"
#include "resources/resource.h"
#include "support/dialog_driver.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

// A dialog whose box validation can be switched off, so that a test can put any text in
// a box and then have the preview drawn.
template <class Dialog>
class Unguarded : public Dialog {
 public:
  bool validating = true;

 protected:
  BOOL OnCommand(HWND control, WORD id, WORD code) override {
    if (!validating && code == EN_CHANGE) return FilterDialog::OnCommand(control, id, code);
    return Dialog::OnCommand(control, id, code);
  }
};

class PreviewGuards : public ::testing::Test {
 protected:
  // The plug-in's copy supplies the templates and the settings folder.
  void SetUp() override { ASSERT_EQ(Registry->Init(plugin.Module(), nullptr, 0), 1); }
  void TearDown() override { Registry->Init(nullptr); }

  // Shows `dialog`, puts each of `texts` into box `id` past the validation and checks
  // the redrawn preview against `expected`.
  template <class Dialog>
  void ExpectFallback(Unguarded<Dialog>& dialog, int id, std::vector<const char*> texts,
                      const PixelRule& expected) {
    const DriveResult r = DriveDialog(
        [&] { return dialog.Show(host, image.data(), image.width, image.height); },
        {[&](HWND d) {
          dialog.validating = false;
          for (const char* text : texts) {
            SCOPED_TRACE(text);
            SetEditText(d, id, text);
            ASSERT_EQ(ControlText(d, id), text);
            dialog.Redraw();
            EXPECT_EQ(PaneDiffers(d, image, expected), "");
          }
          dialog.validating = true;
          Cancel(d);
        }},
        5000);
    EXPECT_FALSE(r.watchdogFired);
  }

  PluginLibrary plugin;
  HostWindow host;
  TestImage image = ColourfulImage(40, 30);
};

TEST_F(PreviewGuards, PosterizationFallsBackToTheAcceptedCount) {
  Unguarded<PosterizationDialog> dialog;  // opens with 8 levels
  ExpectFallback(dialog, IDC_DIVISION_EDIT, {"1", "0", "", "256", "70000", "-3"}, PosterizeDefault);
}

TEST_F(PreviewGuards, CutLowBitFallsBackToTheAcceptedCount) {
  Unguarded<CutLowBitDialog> dialog;  // opens with 1, 1, 1
  ExpectFallback(dialog, IDC_RED_BITS_EDIT, {"8", "9", "255", "4294967295", "-1"}, CutLowBitDefault);
}

}  // namespace
