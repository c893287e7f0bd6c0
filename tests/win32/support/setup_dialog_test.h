// A plug-in settings dialog opened through PBF_Setup over a test image, as the host's
// menu opens it, and driven from inside its modal loop. A dialog that never showed, that
// the watchdog had to end, or that ended before every scripted step ran fails the test.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <utility>
#include <vector>

#include "support/dialog_driver.h"
#include "support/plugin_library.h"
#include "support/preview_oracle.h"

class SetupDialogTest : public ::testing::Test {
 protected:
  explicit SetupDialogTest(int32_t filterIndex) : filterIndex(filterIndex) {}

  DriveResult Run(std::vector<DialogStep> steps) { return Run(image, std::move(steps)); }
  DriveResult Run(const TestImage& shown, std::vector<DialogStep> steps) {
    const size_t count = steps.size();
    DriveResult r = DriveDialog(
        [&] { return plugin.Setup(filterIndex, host, shown.data(), shown.width, shown.height); },
        std::move(steps));
    EXPECT_TRUE(r.dialogSeen);
    EXPECT_FALSE(r.watchdogFired);
    EXPECT_EQ(r.stepsDone, static_cast<int>(count)) << "scripted steps that did not run";
    return r;
  }

  // Runs `steps`, then presses OK (the dialog must return 1) or Cancel (0).
  void RunThenOk(std::vector<DialogStep> steps) { RunThenOk(image, std::move(steps)); }
  void RunThenOk(const TestImage& shown, std::vector<DialogStep> steps) {
    steps.push_back(PressOk);
    EXPECT_EQ(Run(shown, std::move(steps)).returned, 1);
  }
  void RunThenCancel(std::vector<DialogStep> steps) { RunThenCancel(image, std::move(steps)); }
  void RunThenCancel(const TestImage& shown, std::vector<DialogStep> steps) {
    steps.push_back(Cancel);
    EXPECT_EQ(Run(shown, std::move(steps)).returned, 0);
  }

  PluginLibrary plugin;
  HostWindow host;
  TestImage image = ColourfulImage(40, 30);

 private:
  int32_t filterIndex;
};
