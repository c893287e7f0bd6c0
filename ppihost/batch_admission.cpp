#include "ppihost/batch_admission.h"

#include <algorithm>
#include <cstdint>
#include <cwchar>

#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/interrupt.h"

namespace {

// An auto-reset event that one waiting thread sleeps on; null when the system had none
// to give, and the thread then looks again now and then.
class WakeEvent {
 public:
  WakeEvent() : handle(CreateEventW(nullptr, FALSE, FALSE, nullptr)) {}
  ~WakeEvent() {
    if (handle) CloseHandle(handle);
  }
  WakeEvent(const WakeEvent&) = delete;
  WakeEvent& operator=(const WakeEvent&) = delete;
  HANDLE Get() const { return handle; }

 private:
  HANDLE handle;
};

}  // namespace

BatchAdmission::Entry::Entry(BatchAdmission& batch, size_t id, const std::wstring& input)
    : batch(batch), id(id), input(input) {
  Locked held(batch.lock);
  othersAtFirst = batch.admission.InFlight() > 0;
}

void BatchAdmission::Entry::WaitAlone() {
  alone = true;
  batch.WaitToStart(id, footprint, true);
}

bool BatchAdmission::Entry::Enter(const FrameSize& size) {
  footprint = EstimateFootprint(size.width, size.height, size.decodedBitsPerPixel);
  Locked held(batch.lock);
  // A picture run alone has its place already.
  const PictureAdmission::Verdict verdict =
      alone ? (batch.admission.NeverFits(footprint) ? PictureAdmission::Verdict::kNeverFits
                                                    : PictureAdmission::Verdict::kStart)
            : batch.admission.Ask(id, footprint, false);
  if (verdict == PictureAdmission::Verdict::kNeverFits) {
    throw HostError{kExitInput, TooLargeForMemory(input)};
  }
  return verdict == PictureAdmission::Verdict::kStart;
}

void BatchAdmission::Entry::Wait() { batch.WaitToStart(id, footprint, alone); }

bool BatchAdmission::Entry::End() {
  if (ended) return false;
  ended = true;
  Locked held(batch.lock);
  const bool shared = batch.admission.End(id) || othersAtFirst;
  batch.WakeSleepers();
  return shared;
}

void BatchAdmission::WaitToStart(size_t id, const Footprint& footprint, bool alone) {
  WakeEvent wake;
  for (;;) {
    {
      Locked held(lock);
      if (InterruptRequested()) {
        admission.Withdraw(id);
      } else {
        if (admission.Ask(id, footprint, alone) == PictureAdmission::Verdict::kStart) {
          // The next in line may fit beside it.
          WakeSleepers();
          return;
        }
        // Registered under the lock: an end after this wakes it.
        if (wake.Get()) sleepers.push_back(wake.Get());
      }
    }
    // Once interrupted nothing new starts: the process is about to end.
    if (InterruptRequested()) {
      for (;;) Sleep(INFINITE);
    }
    if (wake.Get()) {
      WaitForSingleObject(wake.Get(), INFINITE);
    } else {
      Sleep(50);
    }
  }
}

void BatchAdmission::WakeSleepers() {
  for (HANDLE sleeper : sleepers) SetEvent(sleeper);
  sleepers.clear();
}

uint64_t MemoryBudget() {
  wchar_t forced[24] = {};
  const DWORD length = GetEnvironmentVariableW(L"PPIHOST_MEMORY_BUDGET", forced, 24);
  if (length > 0 && length < 24) {
    wchar_t* end = nullptr;
    const unsigned long long bytes = std::wcstoull(forced, &end, 10);
    if (end && *end == L'\0') return bytes;
  }
  MEMORYSTATUSEX status{};
  status.dwLength = sizeof status;
  // Unknown, the pictures are not held back, as before admission.
  if (!GlobalMemoryStatusEx(&status)) return UINT64_MAX;
  const uint64_t free = std::min(status.ullAvailVirtual, status.ullAvailPageFile);
  return free - free / 8;
}
