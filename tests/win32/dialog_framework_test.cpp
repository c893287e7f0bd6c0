// The dialog framework with the module's own objects linked in: exceptions raised in
// a dialog's handlers, the settings writes and the base dialog's behaviour.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "base/host_interface.h"
#include "dialogs/solarization_dialog.h"
#include "filters/solarization_filter.h"
#include "plugin/filter_registry.h"
#include "resources/resource.h"
#include "settings/settings_file.h"
#include "support/dialog_driver.h"
#include "support/host_log.h"
#include "ppihost/import_patch.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

namespace {

enum class Throw { kNowhere, kInitDialog, kEditChange, kRender, kPress, kOk, kNonStandard };
int destroyed = 0;

// The Solarization dialog with one handler made to fail.
class FailingDialog : public SolarizationDialog {
 public:
  explicit FailingDialog(Throw where) : where(where) {}
  ~FailingDialog() override { ++destroyed; }

 protected:
  BOOL OnInitDialog() override {
    const BOOL ok = SolarizationDialog::OnInitDialog();
    Fail(Throw::kInitDialog);
    return ok;
  }
  BOOL OnCommand(HWND control, WORD id, WORD code) override {
    // Thrown from inside the nested notification of a restore.
    if (code == EN_CHANGE && threshold == 42) Fail(Throw::kEditChange);
    return SolarizationDialog::OnCommand(control, id, code);
  }
  void RenderPreview(uint32_t* buffer, const PanePoint* origin, const PaneSize* visible,
                     const PaneSize* pane, const PanePoint* scroll, const uint8_t* pixels,
                     const PaneSize* size) override {
    if (threshold == 7) Fail(Throw::kRender);
    SolarizationDialog::RenderPreview(buffer, origin, visible, pane, scroll, pixels, size);
  }
  void OnLButtonDown(HWND pane, int x, int y, int keys) override {
    SolarizationDialog::OnLButtonDown(pane, x, y, keys);  // takes the capture first
    Fail(Throw::kPress);
  }
  void OnOK(SettingsWriter& settings) override {
    Fail(Throw::kOk);
    Fail(Throw::kNonStandard);
    SolarizationDialog::OnOK(settings);
  }

 private:
  void Fail(Throw at) {
    if (at != where) return;
    if (at == Throw::kNonStandard) throw 42;
    throw std::runtime_error("failed in a handler");
  }
  Throw where;
};

Throw failAt = Throw::kNowhere;

class FailingFilter : public SolarizationFilter {
 public:
  int Setup(HWND parent, const uint8_t* image, int32_t width, int32_t height) override {
    FailingDialog dialog(failAt);
    return dialog.Show(parent, image, width, height) == IDOK ? 1 : 0;
  }
};

Filter* MakeFailing() { return new FailingFilter(); }

class DialogFramework : public ::testing::Test {
 protected:
  void SetUp() override {
    CaptureMessageBoxes(GetModuleHandleA(nullptr));
    const FilterRegistry::Factory failing[] = {&MakeFailing};
    // The plug-in's copy supplies the templates, the cursors and the settings folder.
    ASSERT_EQ(Registry->Init(plugin.Module(), failing, 1), 1);
    ClearHostEvents();
    destroyed = 0;
  }
  void TearDown() override { Registry->Init(nullptr); }

  DriveResult SetupWith(Throw where, std::vector<DialogStep> steps) {
    failAt = where;
    return DriveDialog([&] { return PBF_Setup(0, host, image.data(), image.width, image.height); },
                       std::move(steps), 5000);
  }
  // Shows `dialog` over the fixture's image and runs `steps` on it.
  DriveResult Show(FilterDialog& dialog, std::vector<DialogStep> steps) {
    return DriveDialog([&] { return dialog.Show(host, image.data(), image.width, image.height); },
                       std::move(steps), 5000);
  }
  int MessageBoxes() const {
    int n = 0;
    for (const HostEvent& e : HostEvents()) n += e.kind == HostEvent::kMessageBox;
    return n;
  }

  PluginLibrary plugin;
  HostWindow host;
  TestImage image = ColourfulImage(300, 300);
};

TEST_F(DialogFramework, ExceptionsLeaveTheModalLoopAndReachTheModuleBoundary) {
  struct Case {
    Throw where;
    std::vector<DialogStep> steps;
    const char* detail;
  };
  const Case cases[] = {
      {Throw::kInitDialog, {}, "failed in a handler"},
      {Throw::kEditChange,
       {[](HWND d) {
         SetEditText(d, IDC_THRESHOLD_EDIT, "42");
         SetEditText(d, IDC_THRESHOLD_EDIT, "999");  // rejected: the restore throws
       }},
       "failed in a handler"},
      {Throw::kRender, {[](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "7"); }}, "failed in a handler"},
      {Throw::kPress, {[](HWND d) { MouseDown(PreviewPane(d), 20, 20); }}, "failed in a handler"},
      {Throw::kOk, {PressOk}, "failed in a handler"},
      {Throw::kNonStandard, {PressOk}, "unknown exception"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.where));
    ClearHostEvents();
    destroyed = 0;
    const DriveResult r = SetupWith(c.where, c.steps);
    EXPECT_EQ(r.returned, 0);
    EXPECT_FALSE(r.watchdogFired);
    EXPECT_EQ(destroyed, 1);  // unwound normally once out of the loop
    EXPECT_EQ(ActiveDialog, nullptr);
    EXPECT_EQ(GetCapture(), nullptr);
    ASSERT_EQ(MessageBoxes(), 1);
    EXPECT_NE(HostEvents().back().text.find(c.detail), std::string::npos);
    EXPECT_EQ(plugin.SettingsText(), "");  // OK threw before writing
  }
  // The module stays usable: the next dialog runs and ends normally.
  ClearHostEvents();
  const DriveResult r = SetupWith(Throw::kNowhere, {PressOk});
  EXPECT_EQ(r.returned, 1);
  EXPECT_EQ(MessageBoxes(), 0);
  EXPECT_NE(plugin.SettingsText().find("threshold=230"), std::string::npos);
}

// The base dialog over the Solarization template, with its OnOK writing probe keys.
class ProbeDialog : public FilterDialog {
 public:
  ProbeDialog() : FilterDialog(IDD_SOLARIZATION) {}
  bool wrote = false;
  int paints = 0;

 protected:
  void OnOK(SettingsWriter& settings) override {
    wrote = WriteIntFromEdit("Probe", "value", IDC_THRESHOLD_EDIT, settings);
    WriteFlagFromCheck("Probe", "flag", IDC_PREVIEW_CHECK, settings);
  }
  void PaintPreview(HWND pane, HDC dc) override {
    ++paints;
    FilterDialog::PaintPreview(pane, dc);
  }
};

TEST_F(DialogFramework, WriteIntFromEditWritesAnyIntegerAndSkipsOtherText) {
  struct Case {
    const char* text;
    bool written;
    const char* stored;
  };
  const Case cases[] = {{"-5", true, "-5"}, {"", false, "-5"}, {"abc", false, "-5"}, {"0", true, "0"}};
  for (const Case& c : cases) {
    ProbeDialog dialog;
    const DriveResult r =
        Show(dialog, {[&](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, c.text); }, PressOk});
    EXPECT_EQ(r.returned, 1);
    EXPECT_EQ(dialog.wrote, c.written) << c.text;
    char value[32];
    GetPrivateProfileStringA("Probe", "value", "(none)", value, sizeof value, plugin.SettingsPath().c_str());
    EXPECT_STREQ(value, c.stored) << c.text;
    EXPECT_EQ(GetPrivateProfileIntA("Probe", "flag", -1, plugin.SettingsPath().c_str()), 0);
  }
}

TEST_F(DialogFramework, PreviewBoxRepaintsThePaneOnceAndIsWrittenAsAFlag) {
  ProbeDialog dialog;
  int before = 0;
  const DriveResult r = Show(dialog, {
      [&](HWND d) {
        UpdateWindow(PreviewPane(d));
        before = dialog.paints;
        ClickButton(d, IDC_PREVIEW_CHECK);  // invalidated, painted by the loop
        ClickButton(d, IDOK + 1000);        // no such control: no effect
      },
      [&](HWND d) {
        UpdateWindow(PreviewPane(d));
        EXPECT_EQ(dialog.paints, before + 1);
        // The base dialog has no filter: checked, the picture stays as it is.
        EXPECT_EQ(PaneDiffers(d, image, Unchanged), "");
      },
      [](HWND d) { SendMessageA(d, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0); },
  });
  EXPECT_EQ(r.returned, 1);
  EXPECT_EQ(GetPrivateProfileIntA("Probe", "flag", -1, plugin.SettingsPath().c_str()), 1);
}

TEST_F(DialogFramework, ShowEndsWithOneForOkAndTwoForCancel) {
  for (int id : {IDOK, IDCANCEL}) {
    ProbeDialog dialog;
    const DriveResult r = DriveDialog([&] { return dialog.Show(host, image.data(), 1, 1); },
                                      {[id](HWND d) { ClickButton(d, id); }}, 5000);
    EXPECT_EQ(r.returned, id);
    EXPECT_EQ(ActiveDialog, nullptr);
  }
}

TEST_F(DialogFramework, AMissingTemplateShowsNothing) {
  FilterDialog dialog(4242);
  const DriveResult r = DriveDialog([&] { return dialog.Show(host, image.data(), 1, 1); },
                                    {Cancel}, 2000);
  EXPECT_FALSE(r.dialogSeen);
  EXPECT_NE(r.returned, 1);
  EXPECT_NE(r.returned, 2);
  EXPECT_EQ(ActiveDialog, nullptr);
}

// The Solarization dialog with the box's validation switched off, so that it can hold
// what the validation never lets it hold.
class UncheckedBoxDialog : public SolarizationDialog {
 protected:
  BOOL OnCommand(HWND control, WORD id, WORD code) override {
    if (code == EN_CHANGE && id == IDC_THRESHOLD_EDIT && threshold != kDefaultThreshold) {
      return FilterDialog::OnCommand(control, id, code);
    }
    return SolarizationDialog::OnCommand(control, id, code);
  }
  BOOL OnInitDialog() override {
    const BOOL ok = SolarizationDialog::OnInitDialog();
    threshold = 100;  // from here on the box is not checked; 100 is the stand-in
    return ok;
  }
};

TEST_F(DialogFramework, PreviewNeverUsesAnOutOfRangeThreshold) {
  UncheckedBoxDialog dialog;
  const auto expect100 = [&](HWND d) {
    InvalidateRect(PreviewPane(d), nullptr, FALSE);
    const PixelRule solarized100 = [](Pixel p) { return ExpectedSolarization(p, 100, 0); };
    EXPECT_EQ(PaneDiffers(d, image, solarized100), "");
  };
  const DriveResult r = Show(dialog, {
      // 2^24 would shift to a threshold of 0 and invert everything; 300 would invert nothing.
      [&](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "16777216"); },
      expect100,
      [&](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, "300"); },
      expect100,
      [&](HWND d) { SetEditText(d, IDC_THRESHOLD_EDIT, ""); },
      expect100,
      Cancel,
  });
  EXPECT_EQ(r.returned, 2);
}

// A pane too large for its buffer: the preview cannot be set up.
class HugePaneDialog : public SolarizationDialog {
 public:
  explicit HugePaneDialog(int side) : side(side) {}

 protected:
  BOOL OnInitDialog() override {
    MoveWindow(GetPane(), 0, 0, side, side, FALSE);
    return SolarizationDialog::OnInitDialog();
  }
  int side;
};

TEST_F(DialogFramework, WithoutAPreviewBufferTheDialogRunsOnBare) {
  // 32767: more bytes than an allocation can ask for; 22000: more than it can get.
  for (int side : {32767, 22000}) {
    SCOPED_TRACE(side);
    plugin.RemoveSettings();
    HugePaneDialog dialog(side);
    const DriveResult r = Show(dialog, {
        [](HWND d) {
          EXPECT_EQ(ControlText(d, IDC_THRESHOLD_EDIT), "");
          EXPECT_TRUE(ComboItems(d, IDC_CHANNEL_COMBO).empty());
          EXPECT_FALSE(IsChecked(d, IDC_PREVIEW_CHECK));
          EXPECT_NE(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(PreviewPane(d), GWLP_WNDPROC)),
                    &PreviewPane::WindowProc);
          UpdateWindow(PreviewPane(d));
          MouseDown(PreviewPane(d), 10, 10);
          EXPECT_EQ(GetCapture(), nullptr);
        },
        PressOk,
    });
    EXPECT_EQ(r.returned, 1);
    EXPECT_FALSE(r.watchdogFired);
    EXPECT_EQ(plugin.SettingsText(), "[Solarization]\r\npreview=0\r\n");
  }
}

// Initialising the preview a second time must not subclass the pane over itself (the
// pane procedure would then call itself for every message).
class TwiceInitialisedDialog : public SolarizationDialog {
 public:
  int paints = 0;

 protected:
  BOOL OnInitDialog() override { return InitPreview() && SolarizationDialog::OnInitDialog(); }
  void PaintPreview(HWND pane, HDC dc) override {
    ++paints;
    SolarizationDialog::PaintPreview(pane, dc);
  }
};

TEST_F(DialogFramework, InitialisingThePreviewTwiceKeepsOneSubclass) {
  TwiceInitialisedDialog dialog;
  const DriveResult r = Show(dialog, {
      [](HWND d) { ClickButton(d, IDC_PREVIEW_CHECK); },  // off: the plain image
      [&](HWND d) {
        EXPECT_EQ(PaneDiffers(d, image, Unchanged), "");
        // One paint message, one paint (Wine cuts a self-calling procedure short
        // after a number of rounds instead of overflowing the stack).
        const int before = dialog.paints;
        InvalidateRect(PreviewPane(d), nullptr, FALSE);
        UpdateWindow(PreviewPane(d));
        EXPECT_EQ(dialog.paints, before + 1);
        MouseDown(PreviewPane(d), 50, 50);
        MouseMove(PreviewPane(d), 40, 45, true);
        MouseUp(PreviewPane(d), 40, 45);
        EXPECT_EQ(PaneDiffers(d, image, Unchanged, 10, 5), "");
      },
      Cancel,
  });
  EXPECT_EQ(r.returned, 2);
}

}  // namespace
