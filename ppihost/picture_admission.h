// Which pictures of a run over many may be worked on at once, so that together they
// stay inside the process's address space: the arithmetic, free of the platform. The
// caller holds a lock around every call and wakes its waiting threads after End().
#pragma once
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

// The bytes one picture holds, from its size alone.
struct Footprint {
  // What it cannot run without: the decoded frame beside the converted pixels, or
  // those pixels beside the plug-in's destination.
  uint64_t least;
  // At its worst: the destination beside the encoder's copy of it in the file's pixel
  // format and the encoded file, held twice while it is copied out of its stream, each
  // counted at 4 bytes a pixel.
  uint64_t peak;
};

// `decodedBitsPerPixel`: of the decoder's own pixel format, which it may hold whole.
// For pictures of at most 2^32 pixels (their 4-byte pixels are capped far below).
Footprint EstimateFootprint(uint32_t width, uint32_t height, uint32_t decodedBitsPerPixel);

class PictureAdmission {
 public:
  // `budget`: the bytes the pictures in flight may hold together.
  explicit PictureAdmission(uint64_t budget) : budget(budget) {}

  enum class Verdict { kStart, kWait, kNeverFits };

  // Picture `id` asks to start. It starts when every picture that asked before it has
  // started and those in flight leave room for its peak; one whose peak exceeds the
  // budget, or that runs `alone` (a retry), starts only when none is in flight and
  // keeps the others out. kWait: it keeps its place and asks again after an End().
  // kNeverFits: its least exceeds the budget, so it would fail even alone.
  Verdict Ask(size_t id, const Footprint& footprint, bool alone);
  // A waiting picture gives up its place (the run is interrupted).
  void Withdraw(size_t id);
  // Picture `id` has ended; returns whether another was in flight at any time during
  // its run. Of one that failed before it started: whether another is in flight now.
  bool End(size_t id);

  bool NeverFits(const Footprint& footprint) const { return footprint.least > budget; }
  size_t InFlight() const { return running.size(); }

 private:
  struct Running {
    size_t id;
    uint64_t bytes;
    bool alone;
    bool shared;  // another picture was in flight beside it
  };
  const uint64_t budget;
  std::vector<Running> running;
  std::deque<size_t> waiting;  // in the order they first asked
};

// A picture that failed for lack of memory while another was in flight may pass alone:
// it is tried once more, alone. A run alone is never shared, so the second failure is
// the picture's own.
inline bool TryAgainAlone(bool outOfMemory, bool shared) { return outOfMemory && shared; }
