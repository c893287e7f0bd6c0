// Where each filter meets its settings dialog: one body for all three.
#include "dialogs/filter_setups.h"

#include "dialogs/cut_low_bit_dialog.h"
#include "dialogs/posterization_dialog.h"
#include "dialogs/solarization_dialog.h"

namespace {

// Runs a settings dialog over the host's image; 1 when the user confirmed it with OK.
template <class Dialog>
int RunSettingsDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  Dialog dialog;
  return dialog.Show(parent, image, width, height) == IDOK ? 1 : 0;
}

}  // namespace

int RunSolarizationDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  return RunSettingsDialog<SolarizationDialog>(parent, image, width, height);
}

int RunPosterizationDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  return RunSettingsDialog<PosterizationDialog>(parent, image, width, height);
}

int RunCutLowBitDialog(HWND parent, const uint8_t* image, int32_t width, int32_t height) {
  return RunSettingsDialog<CutLowBitDialog>(parent, image, width, height);
}
