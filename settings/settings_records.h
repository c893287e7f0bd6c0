// The settings records, their keys, defaults and valid ranges. Platform-free: the
// reading itself is done by a function the caller supplies (the private-profile
// reader in the module, a fake in tests), always in the keys' order below.
#pragma once
#include <cstdint>

inline constexpr char kSettingsFileName[] = "zodederor.ini";

inline constexpr char kSolarizationSection[] = "Solarization";
inline constexpr char kPosterizationSection[] = "Posterization";
inline constexpr char kCutLowBitSection[] = "CutLBit";

struct SolarizationSettings {
  int32_t threshold;  // luminance threshold, 0..255
  int32_t channel;    // 1 red, 2 green, 3 blue, anything else all three
  int32_t preview;    // dialog only: 0 unchecks the preview box
};

struct PosterizationSettings {
  int32_t division;  // levels per channel, 2..255
  int32_t preview;
};

struct CutLowBitSettings {
  int32_t rmask;  // low bits cleared in red, 0..7
  int32_t gmask;
  int32_t bmask;
  int32_t link;  // dialog only: 0 unchecks the link box
  int32_t preview;
};

inline constexpr int32_t kMinThreshold = 0, kMaxThreshold = 255, kDefaultThreshold = 230;
inline constexpr int32_t kMinDivision = 2, kMaxDivision = 255, kDefaultDivision = 8;
inline constexpr int32_t kMinLowBits = 0, kMaxLowBits = 7, kDefaultLowBits = 1;

inline bool InRange(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

inline bool IsValid(const SolarizationSettings& s) {
  return InRange(s.threshold, kMinThreshold, kMaxThreshold);  // any channel is accepted
}
inline bool IsValid(const PosterizationSettings& s) {
  return InRange(s.division, kMinDivision, kMaxDivision);
}
inline bool IsValid(const CutLowBitSettings& s) {
  return InRange(s.rmask, kMinLowBits, kMaxLowBits) &&
         InRange(s.gmask, kMinLowBits, kMaxLowBits) &&
         InRange(s.bmask, kMinLowBits, kMaxLowBits);
}

// ReadInt: int32_t(const char* section, const char* key, int32_t defaultValue).
template <class ReadInt>
SolarizationSettings ReadSolarizationRecord(ReadInt read) {
  SolarizationSettings s;
  s.threshold = read(kSolarizationSection, "threshold", kDefaultThreshold);
  s.channel = read(kSolarizationSection, "channel", 0);
  s.preview = read(kSolarizationSection, "preview", 1);
  return s;
}

template <class ReadInt>
PosterizationSettings ReadPosterizationRecord(ReadInt read) {
  PosterizationSettings s;
  s.division = read(kPosterizationSection, "division", kDefaultDivision);
  s.preview = read(kPosterizationSection, "preview", 1);
  return s;
}

template <class ReadInt>
CutLowBitSettings ReadCutLowBitRecord(ReadInt read) {
  CutLowBitSettings s;
  s.rmask = read(kCutLowBitSection, "rmask", kDefaultLowBits);
  s.gmask = read(kCutLowBitSection, "gmask", kDefaultLowBits);
  s.bmask = read(kCutLowBitSection, "bmask", kDefaultLowBits);
  s.link = read(kCutLowBitSection, "link", 1);
  s.preview = read(kCutLowBitSection, "preview", 1);
  return s;
}
