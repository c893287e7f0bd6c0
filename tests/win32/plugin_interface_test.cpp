// The five exports as a host sees them: loaded from a Japanese folder, looked up by
// both names, called with the host's conventions.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resources/texts_cp932.h"
#include "support/host_log.h"
#include "support/plugin_library.h"
#include "support/stdcall_probe.h"

namespace {

constexpr const char* kNames[] = {kSolarizationName, kPosterizationName, kCutLowBitName};

struct ProgressCall {
  int32_t position, maximum, userData;
};
std::vector<ProgressCall> progressCalls;
int32_t progressResult = 0;

int32_t WINAPI RecordProgress(int32_t position, int32_t maximum, int32_t userData) {
  progressCalls.push_back({position, maximum, userData});
  return progressResult;
}

class PluginInterface : public ::testing::Test {
 protected:
  void SetUp() override { progressCalls.clear(); }
  PluginLibrary plugin;
};

TEST_F(PluginInterface, ExportsBothNamesOfEveryFunction) {
  const char* pairs[][2] = {{"PB_GetPluginInfo", "_PB_GetPluginInfo@8"},
                            {"PBF_FilterCount", "_PBF_FilterCount@0"},
                            {"PBF_GetName", "_PBF_GetName@20"},
                            {"PBF_Execute", "_PBF_Execute@44"},
                            {"PBF_Setup", "_PBF_Setup@20"}};
  for (auto& p : pairs) {
    void* plain = plugin.Export<void*>(p[0]);
    ASSERT_NE(plain, nullptr) << p[0];
    EXPECT_EQ(plain, plugin.Export<void*>(p[1])) << p[1];
  }
}

TEST_F(PluginInterface, EveryExportPopsItsOwnArguments) {
  char buffer[64];
  const uint32_t buf = reinterpret_cast<uint32_t>(buffer);
  struct Call {
    const char* name;
    std::vector<uint32_t> args;
  } calls[] = {
      {"_PB_GetPluginInfo@8", {buf, sizeof buffer}},
      {"_PBF_FilterCount@0", {}},
      {"_PBF_GetName@20", {0, buf, 32, buf + 32, 32}},
      {"_PBF_Execute@44", {7, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
      {"_PBF_Setup@20", {3, 0, 0, 0, 0}},
  };
  for (const Call& c : calls) {
    for (const char* name : {c.name + 1, c.name}) {
      std::string plain(name);
      if (name == c.name + 1) plain = plain.substr(0, plain.find('@'));
      int popped = -1;
      MeasureCall(plugin.Export<void*>(plain.c_str()), c.args.data(),
                  static_cast<int>(c.args.size()), &popped);
      EXPECT_EQ(popped, static_cast<int>(4 * c.args.size())) << plain;
    }
  }
}

TEST_F(PluginInterface, CountsThreeFilters) {
  EXPECT_EQ(plugin.FilterCount(), 3);
  EXPECT_EQ(plugin.Export<PBF_FilterCountFn>("_PBF_FilterCount@0")(), 3);
}

TEST_F(PluginInterface, NamesTheFiltersInRegistryOrderByteForByte) {
  for (int i = 0; i < 3; ++i) {
    char category[64], name[64];
    std::memset(category, 'x', sizeof category);
    std::memset(name, 'x', sizeof name);
    EXPECT_EQ(plugin.GetName(i, category, sizeof category, name, sizeof name), name);
    EXPECT_STREQ(category, kColorCategory) << i;
    EXPECT_STREQ(name, kNames[i]) << i;
    // strncpy pads the rest of the buffer with NULs.
    for (size_t k = std::strlen(kNames[i]); k < sizeof name; ++k) ASSERT_EQ(name[k], 0) << i << " " << k;
  }
  char category[39], name[39];
  auto decorated = plugin.Export<PBF_GetNameFn>("_PBF_GetName@20");
  decorated(1, category, sizeof category, name, sizeof name);
  EXPECT_STREQ(name, kPosterizationName);  // the longest text, 38 bytes, still terminated
}

TEST_F(PluginInterface, TruncatesWithoutTerminatorAndTouchesNothingBeyond) {
  char category[8], name[16];
  std::memset(category, 'x', sizeof category);
  std::memset(name, 'x', sizeof name);
  plugin.GetName(0, category, 3, name, 10);
  EXPECT_EQ(std::string(name, 10), std::string(kSolarizationName, 10));
  EXPECT_EQ(std::string(name + 10, 6), "xxxxxx");
  EXPECT_EQ(std::string(category, 3), "Col");
  EXPECT_EQ(std::string(category + 3, 5), "xxxxx");
}

TEST_F(PluginInterface, LengthsOfZeroOrBelowWriteNothing) {
  for (int32_t length : {0, -1, -1000}) {
    char category[8], name[8], info[8];
    std::memset(category, 'x', sizeof category);
    std::memset(name, 'x', sizeof name);
    std::memset(info, 'x', sizeof info);
    plugin.GetName(0, category, length, name, length);
    EXPECT_EQ(std::string(category, 8), "xxxxxxxx") << length;
    EXPECT_EQ(std::string(name, 8), "xxxxxxxx") << length;
    EXPECT_EQ(plugin.GetPluginInfo(info, length), 1) << length;
    EXPECT_EQ(std::string(info, 8), "xxxxxxxx") << length;
  }
}

TEST_F(PluginInterface, OutOfRangeIndicesReadAsEmptyTexts) {
  for (int32_t index : {3, -1, 7}) {
    char category[8], name[8];
    std::memset(category, 'x', sizeof category);
    std::memset(name, 'x', sizeof name);
    plugin.GetName(index, category, sizeof category, name, sizeof name);
    EXPECT_EQ(std::string(category, 8), std::string(8, '\0')) << index;
    EXPECT_EQ(std::string(name, 8), std::string(8, '\0')) << index;
  }
}

TEST_F(PluginInterface, PluginInfoIsOneAsciiLine) {
  char info[256];
  EXPECT_EQ(plugin.GetPluginInfo(info, sizeof info), 1);
  EXPECT_STREQ(info, kPluginInfo);
  for (const char* c = info; *c; ++c) {
    EXPECT_TRUE(*c >= 0x20 && *c < 0x7F) << int(*c);
  }
  char small[5];
  std::memset(small, 'x', sizeof small);
  plugin.GetPluginInfo(small, 4);
  EXPECT_EQ(std::string(small, 5), std::string(kPluginInfo, 4) + "x");
}

TEST_F(PluginInterface, ExecuteBracketsEveryCallWithProgressZeroAndDone) {
  uint8_t source[16] = {1, 2, 3, 4}, destination[16];
  std::memset(destination, 0xAB, sizeof destination);
  const PixelRegion region{0, 0, 2, 2};
  progressResult = 42;
  for (int32_t index : {7, 3, -1}) {
    progressCalls.clear();
    EXPECT_EQ(plugin.Execute(index, nullptr, source, destination, 0, &region, 0, 2, 0,
                             &RecordProgress, 1234),
              42);
    ASSERT_EQ(progressCalls.size(), 2u) << index;
    EXPECT_EQ(progressCalls[0].position, 0);
    EXPECT_EQ(progressCalls[1].position, 10000);
    for (auto& c : progressCalls) {
      EXPECT_EQ(c.maximum, 10000);
      EXPECT_EQ(c.userData, 1234);
    }
    for (uint8_t b : destination) ASSERT_EQ(b, 0xAB);
  }
  progressResult = 0;
}

TEST_F(PluginInterface, ExecuteWithoutCallbackReturnsZero) {
  uint8_t source[16] = {}, destination[16] = {};
  const PixelRegion region{0, 0, 2, 2};
  progressResult = 42;
  EXPECT_EQ(plugin.Execute(7, nullptr, source, destination, 0, &region, 0, 2, 0, nullptr, 0), 0);
  EXPECT_TRUE(progressCalls.empty());
  progressResult = 0;
}

TEST_F(PluginInterface, SetupRefusesIndicesOutOfRange) {
  for (int32_t index : {3, -1, 7}) EXPECT_EQ(plugin.Setup(index, nullptr, nullptr, 0, 0), 0);
}

}  // namespace
