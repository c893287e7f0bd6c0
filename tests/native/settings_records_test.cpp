#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "settings/settings_records.h"

namespace {

// Records every key asked for and answers its default.
struct RecordingReader {
  std::vector<std::string>* asked;
  int32_t operator()(const char* section, const char* key, int32_t defaultValue) const {
    asked->push_back(std::string(section) + "/" + key + "=" + std::to_string(defaultValue));
    return defaultValue;
  }
};

TEST(SettingsRecords, ReadEachKeyOnceInOrderWithItsDefault) {
  std::vector<std::string> asked;
  const SolarizationSettings s = ReadSolarizationRecord(RecordingReader{&asked});
  const PosterizationSettings p = ReadPosterizationRecord(RecordingReader{&asked});
  const CutLowBitSettings c = ReadCutLowBitRecord(RecordingReader{&asked});
  EXPECT_EQ(asked, (std::vector<std::string>{
                       "Solarization/threshold=230", "Solarization/channel=0", "Solarization/preview=1",
                       "Posterization/division=8", "Posterization/preview=1", "CutLBit/rmask=1",
                       "CutLBit/gmask=1", "CutLBit/bmask=1", "CutLBit/link=1", "CutLBit/preview=1"}));
  EXPECT_TRUE(IsValid(s));
  EXPECT_TRUE(IsValid(p));
  EXPECT_TRUE(IsValid(c));
}

TEST(SettingsRecords, ThresholdValidFromZeroTo255WhateverTheChannel) {
  for (int32_t t : {-1, 0, 255, 256, INT32_MIN, INT32_MAX}) {
    EXPECT_EQ(IsValid(SolarizationSettings{t, 7, 0}), t >= 0 && t <= 255) << t;
  }
  EXPECT_TRUE(IsValid(SolarizationSettings{10, -5, 0}));
}

TEST(SettingsRecords, DivisionValidFromTwoTo255) {
  for (int32_t n : {0, 1, 2, 255, 256, -1}) {
    EXPECT_EQ(IsValid(PosterizationSettings{n, 1}), n >= 2 && n <= 255) << n;
  }
}

TEST(SettingsRecords, EveryBitCountValidFromZeroToSeven) {
  for (int32_t v : {-1, 0, 7, 8}) {
    const bool ok = v >= 0 && v <= 7;
    EXPECT_EQ(IsValid(CutLowBitSettings{v, 1, 1, 0, 0}), ok) << v;
    EXPECT_EQ(IsValid(CutLowBitSettings{1, v, 1, 0, 0}), ok) << v;
    EXPECT_EQ(IsValid(CutLowBitSettings{1, 1, v, 0, 0}), ok) << v;
  }
}

}  // namespace
