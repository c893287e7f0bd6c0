// What the dialog driver lacks for the Posterization and Cut Low Bit dialogs: keys and
// typed characters sent to one control, and spies on the plug-in's imports that count
// the preview's paints (StretchDIBits) and record its settings writes
// (WritePrivateProfileStringW, passed on).
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/setup_dialog_test.h"

// Types `text` as characters into edit box `id` ('\b' is Backspace), after selecting
// its whole text when `replaceAll` is set.
void TypeKeys(HWND dialog, int id, const std::string& text, bool replaceAll);
void PlaceCaret(HWND dialog, int id, int position);
// Where the caret of edit box `id` stands, or -1 when a text is selected.
int Caret(HWND dialog, int id);
// A key pressed and released on control `id`, which has the focus.
void PressKey(HWND dialog, int id, UINT virtualKey);

// Installs the StretchDIBits spy on `module` and sets the count to 0.
void CountPreviewPaints(HMODULE module);
int PreviewPaints();

struct ProfileWrite {
  std::string section, key, value;  // "<null>" for a null argument
  std::string Text() const { return section + "/" + key + "=" + value; }
};
// Installs the WritePrivateProfileStringW spy on `module` and clears the record.
void RecordProfileWrites(HMODULE module);
const std::vector<ProfileWrite>& ProfileWrites();
// The writes as "section/key=value" texts, in order.
std::vector<std::string> ProfileWriteTexts();

// A settings dialog whose preview paints are counted and whose settings writes are
// recorded from the start.
class SpiedSetupDialogTest : public SetupDialogTest {
 protected:
  using SetupDialogTest::SetupDialogTest;
  void SetUp() override {
    CountPreviewPaints(plugin.Module());
    RecordProfileWrites(plugin.Module());
  }
  // The dialog cancelled after `step`: it returns 0 and writes no setting.
  void ExpectCancelWritesNothing(const DialogStep& step) {
    RunThenCancel({step});
    EXPECT_TRUE(ProfileWrites().empty());
    EXPECT_EQ(plugin.SettingsText(), "");
  }
};
