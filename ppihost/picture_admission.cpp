#include "ppihost/picture_admission.h"

#include <algorithm>

Footprint EstimateFootprint(uint32_t width, uint32_t height, uint32_t decodedBitsPerPixel) {
  const uint64_t pixels = uint64_t{width} * height;
  const uint64_t decoded = (pixels * decodedBitsPerPixel + 7) / 8;
  const uint64_t converted = pixels * 4, destination = pixels * 4;
  const uint64_t encoder = pixels * 4 + 2 * (pixels * 4);
  const uint64_t least = std::max(decoded + converted, converted + destination);
  return {least, std::max(least, destination + encoder)};
}

PictureAdmission::Verdict PictureAdmission::Ask(size_t id, const Footprint& footprint, bool alone) {
  if (NeverFits(footprint)) {
    Withdraw(id);
    return Verdict::kNeverFits;
  }
  if (std::find(waiting.begin(), waiting.end(), id) == waiting.end()) waiting.push_back(id);
  alone = alone || footprint.peak > budget;
  uint64_t held = 0;
  bool othersKeptOut = false;
  for (const Running& r : running) {
    held += r.bytes;
    othersKeptOut = othersKeptOut || r.alone;
  }
  const bool room = running.empty() ||
                    (!alone && !othersKeptOut && footprint.peak <= budget - std::min(held, budget));
  if (waiting.front() != id || !room) return Verdict::kWait;
  waiting.pop_front();
  for (Running& r : running) r.shared = true;
  running.push_back({id, footprint.peak, alone, !running.empty()});
  return Verdict::kStart;
}

void PictureAdmission::Withdraw(size_t id) {
  waiting.erase(std::remove(waiting.begin(), waiting.end(), id), waiting.end());
}

bool PictureAdmission::End(size_t id) {
  const auto it = std::find_if(running.begin(), running.end(),
                               [id](const Running& r) { return r.id == id; });
  if (it == running.end()) {
    Withdraw(id);
    return !running.empty();
  }
  const bool shared = it->shared;
  running.erase(it);
  return shared;
}
