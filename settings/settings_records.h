// The settings records, their keys, defaults and valid ranges. Platform-free: the
// reading itself is done by a function the caller supplies (the private-profile
// reader in the module, a fake in tests), always in the keys' order below.
#pragma once
#include <cstdint>

inline constexpr wchar_t kSettingsFileName[] = L"zodederor.ini";

inline constexpr char kSolarizationSection[] = "Solarization";
inline constexpr char kPosterizationSection[] = "Posterization";
inline constexpr char kCutLowBitSection[] = "CutLBit";

// The keys, spelt here once for the readers below and the dialogs' writes.
inline constexpr char kThresholdKey[] = "threshold";
inline constexpr char kChannelKey[] = "channel";
inline constexpr char kDivisionKey[] = "division";
inline constexpr char kRedMaskKey[] = "rmask";
inline constexpr char kGreenMaskKey[] = "gmask";
inline constexpr char kBlueMaskKey[] = "bmask";
inline constexpr char kLinkKey[] = "link";
inline constexpr char kPreviewKey[] = "preview";  // in each of the three sections

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
  s.threshold = read(kSolarizationSection, kThresholdKey, kDefaultThreshold);
  s.channel = read(kSolarizationSection, kChannelKey, 0);
  s.preview = read(kSolarizationSection, kPreviewKey, 1);
  return s;
}

template <class ReadInt>
PosterizationSettings ReadPosterizationRecord(ReadInt read) {
  PosterizationSettings s;
  s.division = read(kPosterizationSection, kDivisionKey, kDefaultDivision);
  s.preview = read(kPosterizationSection, kPreviewKey, 1);
  return s;
}

template <class ReadInt>
CutLowBitSettings ReadCutLowBitRecord(ReadInt read) {
  CutLowBitSettings s;
  s.rmask = read(kCutLowBitSection, kRedMaskKey, kDefaultLowBits);
  s.gmask = read(kCutLowBitSection, kGreenMaskKey, kDefaultLowBits);
  s.bmask = read(kCutLowBitSection, kBlueMaskKey, kDefaultLowBits);
  s.link = read(kCutLowBitSection, kLinkKey, 1);
  s.preview = read(kCutLowBitSection, kPreviewKey, 1);
  return s;
}
