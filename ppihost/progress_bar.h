// The progress bar drawn on the terminal from the plug-in's progress callback. It is
// drawn only when standard error is a console, so logs and pipes stay clean.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/host_types.h"

// The plug-in interface passes the callback's user data as a 32-bit integer; the
// host, like its plug-ins, is a 32-bit program.
static_assert(sizeof(void*) == sizeof(int32_t), "ppihost is built for 32-bit Windows");

class ProgressBar {
 public:
  // `label` leads the line; nothing is drawn when `stream` is not a console.
  ProgressBar(HANDLE stream, std::wstring label);
  // Ends the line if the bar was drawn and the plug-in never reported completion.
  ~ProgressBar();
  ProgressBar(const ProgressBar&) = delete;
  ProgressBar& operator=(const ProgressBar&) = delete;

  // The callback handed to PBF_Execute, with UserData() as its user data.
  static int32_t HOST_CALL Report(int32_t position, int32_t maximum, int32_t userData);
  int32_t UserData() { return static_cast<int32_t>(reinterpret_cast<intptr_t>(this)); }

 private:
  void Show(int32_t position, int32_t maximum);

  HANDLE stream;
  std::wstring label;
  bool visible;
  int lastPercent = -1;
  bool lineOpen = false;
};

// "label [#######.......]  42%" for a position out of maximum (clamped to 0..100%), the
// bar of one width wherever it is drawn.
std::wstring ProgressLine(const std::wstring& label, int32_t position, int32_t maximum);
