#include "ppihost/progress_bar.h"

#include <cwchar>

#include "ppihost/console_text.h"
#include "ppihost/interrupt.h"

namespace {
constexpr int kBarWidth = 30;

int Percent(int32_t position, int32_t maximum) {
  if (maximum <= 0 || position <= 0) return 0;
  if (position >= maximum) return 100;
  return static_cast<int>(int64_t{position} * 100 / maximum);
}
}  // namespace

std::wstring ProgressLine(const std::wstring& label, int32_t position, int32_t maximum) {
  const int percent = Percent(position, maximum);
  const int filled = percent * kBarWidth / 100;
  wchar_t tail[16];
  std::swprintf(tail, 16, L"] %3d%%", percent);
  return label + L" [" + std::wstring(static_cast<size_t>(filled), L'#') +
         std::wstring(static_cast<size_t>(kBarWidth - filled), L'.') + tail;
}

ProgressBar::ProgressBar(HANDLE stream, std::wstring label)
    : stream(stream), label(std::move(label)), visible(IsTerminal(stream)) {}

ProgressBar::~ProgressBar() {
  if (lineOpen) Write(stream, L"\n");
}

int32_t HOST_CALL ProgressBar::Report(int32_t position, int32_t maximum, int32_t userData) {
  reinterpret_cast<ProgressBar*>(static_cast<intptr_t>(userData))->Show(position, maximum);
  return 1;
}

void ProgressBar::Show(int32_t position, int32_t maximum) {
  // Once interrupted, the line saying so stays the last on the terminal, while the
  // filter runs on until the process ends.
  if (!visible || InterruptRequested()) return;
  const int percent = Percent(position, maximum);
  // Redrawing only when the figure changes keeps a slow console from slowing the run.
  if (percent == lastPercent) return;
  lastPercent = percent;
  Write(stream, L"\r" + ProgressLine(label, position, maximum));
  lineOpen = percent < 100;
  if (!lineOpen) Write(stream, L"\n");
}
