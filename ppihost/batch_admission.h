// The threads of a run over many pictures admitted by size (picture_admission.h): a
// picture whose size is known waits, its file let go, until the pictures in flight
// leave room for it. Ctrl+C while it waits starts nothing more: the thread waits for
// the process to end.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ppihost/picture_admission.h"
#include "ppihost/pixel_gate.h"
#include "ppihost/threads.h"

class BatchAdmission {
 public:
  explicit BatchAdmission(uint64_t budget) : admission(budget) {}
  BatchAdmission(const BatchAdmission&) = delete;
  BatchAdmission& operator=(const BatchAdmission&) = delete;

  // One attempt at picture `id`, named `input` in messages. From its start to its end
  // (or its failure) it holds its place among the pictures in flight.
  class Entry : public PixelGate {
   public:
    Entry(BatchAdmission& batch, size_t id, const std::wstring& input);
    ~Entry() { End(); }
    Entry(const Entry&) = delete;
    Entry& operator=(const Entry&) = delete;

    // Throws HostError (kExitInput) for a picture that would not fit even alone.
    bool Enter(const FrameSize& size) override;
    void Wait() override;
    // For a second try, before the file is opened: waits until no other picture is in
    // flight, and keeps them out until the end.
    void WaitAlone();
    // Makes room for others; returns whether another picture was in flight meanwhile.
    bool End();

   private:
    BatchAdmission& batch;
    const size_t id;
    const std::wstring& input;
    bool alone = false;
    Footprint footprint{0, 0};
    bool othersAtFirst;  // pictures were in flight when the attempt began
    bool ended = false;
  };

 private:
  // Asks until the picture starts.
  void WaitToStart(size_t id, const Footprint& footprint, bool alone);
  // Has every waiting thread ask again; under `lock`.
  void WakeSleepers();

  CriticalSection lock;
  // Guarded by `lock`.
  PictureAdmission admission;
  std::vector<HANDLE> sleepers;  // the events of threads that wait for an end
};

// The bytes the pictures in flight may hold together: seven eighths of the address
// space and commit still free (the rest for the threads' stacks, the imaging
// component's state and the gaps between blocks). PPIHOST_MEMORY_BUDGET, in bytes,
// stands in for it in tests.
uint64_t MemoryBudget();
