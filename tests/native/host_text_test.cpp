#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "base/host_text.h"
#include "resources/texts_cp932.h"
#include "settings/settings_path.h"

namespace {

TEST(CopyHostText, PadsShortTextsWithNuls) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  CopyHostText(buffer, 8, "abc");
  EXPECT_EQ(std::string(buffer, 8), std::string("abc\0\0\0\0\0", 8));
}

TEST(CopyHostText, FillsWithoutTerminatorAndStopsAtTheLength) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  CopyHostText(buffer, 3, "abcdef");
  EXPECT_EQ(std::string(buffer, 8), "abcxxxxx");
}

TEST(CopyHostText, NonPositiveLengthOrNullBufferWritesNothing) {
  char buffer[4] = {'x', 'x', 'x', 'x'};
  CopyHostText(buffer, 0, "abc");
  CopyHostText(buffer, -1, "abc");
  CopyHostText(buffer, INT32_MIN, "abc");
  CopyHostText(nullptr, 4, "abc");
  EXPECT_EQ(std::string(buffer, 4), "xxxx");
}

TEST(CopyHostText, NullTextCopiesAsEmpty) {
  char buffer[3] = {'x', 'x', 'x'};
  CopyHostText(buffer, 3, nullptr);
  EXPECT_EQ(std::string(buffer, 3), std::string(3, '\0'));
}

TEST(FilterTexts, FitTheHostsThirtyNineByteBuffers) {
  for (const char* t : {kSolarizationName, kPosterizationName, kCutLowBitName, kColorCategory})
    EXPECT_LE(std::strlen(t), 38u) << t;
  EXPECT_EQ(std::strlen(kSetupExceptionMessage), 55u);
}

TEST(FitCp932, NeverSplitsADoubleByteCharacter) {
  const std::string text = "a\x8A\xBF" "b";  // a漢b
  EXPECT_EQ(FitCp932(text.c_str(), 0), 0u);
  EXPECT_EQ(FitCp932(text.c_str(), 1), 1u);
  EXPECT_EQ(FitCp932(text.c_str(), 2), 1u);
  EXPECT_EQ(FitCp932(text.c_str(), 3), 3u);
  EXPECT_EQ(FitCp932(text.c_str(), 100), 4u);
  // Half-width katakana (0xA1-0xDF) are single bytes.
  EXPECT_EQ(FitCp932("\xB7\xAC\xDD", 2), 2u);
  // A lead byte at the very end has no trail to pair with.
  EXPECT_EQ(FitCp932("\x8A", 1), 1u);
}

TEST(FormatWithDetail, JoinsWithABlankLine) {
  char buffer[32];
  FormatWithDetail(buffer, sizeof buffer, "head", "detail");
  EXPECT_STREQ(buffer, "head\n\ndetail");
}

TEST(FormatWithDetail, ShortensTheDetailToFitItsBuffer) {
  char buffer[16];
  std::memset(buffer, 'x', sizeof buffer);
  FormatWithDetail(buffer, 12, "head", "0123456789");
  EXPECT_EQ(std::string(buffer), "head\n\n01234");
  EXPECT_EQ(std::string(buffer + 12, 4), "xxxx");
}

struct PathCase {
  const char* module;
  size_t size;
  const char* expected;
};

TEST(ReplaceFileName, PutsTheFileNextToTheModuleOrYieldsEmpty) {
  const PathCase cases[] = {
      {"C:\\plug\\zuzovezu.ppi", 260, "C:\\plug\\zodederor.ini"},
      {"C:\\zuzovezu.ppi", 260, "C:\\zodederor.ini"},
      {"C:\\p\\z.ppi", 19, "C:\\p\\zodederor.ini"},  // exactly fits with its NUL
      {"C:\\p\\z.ppi", 18, ""},                      // one byte short
      {"zuzovezu.ppi", 260, ""},                     // no folder: never the module itself
      {"", 260, ""},
  };
  for (const PathCase& c : cases) {
    char buffer[300];
    std::memset(buffer, 'x', sizeof buffer);
    std::strcpy(buffer, c.module);
    ReplaceFileName(buffer, c.size, std::strlen(c.module), "zodederor.ini");
    EXPECT_STREQ(buffer, c.expected) << c.module << " " << c.size;
    for (size_t k = c.size; k < sizeof buffer; ++k) ASSERT_EQ(buffer[k], 'x') << c.module;
  }
}

TEST(ReplaceFileName, TruncatedModulePathYieldsEmpty) {
  // The platform returns the buffer size when the path did not fit.
  char buffer[12] = "C:\\a\\b\\zuzo";
  EXPECT_FALSE(ReplaceFileName(buffer, 12, 12, "x.ini"));
  EXPECT_STREQ(buffer, "");
}

TEST(ReplaceFileName, FindsTheSeparatorInsideJapaneseNames) {
  // ソ is 0x83 0x5C: its trail byte is a backslash that separates nothing.
  char buffer[64] = "C:\\\x83\x5C\x83t\x83g\\\x83\x5C.ppi";  // C:\ソフト\ソ.ppi
  ReplaceFileName(buffer, sizeof buffer, std::strlen(buffer), "zodederor.ini");
  EXPECT_STREQ(buffer, "C:\\\x83\x5C\x83t\x83g\\zodederor.ini");
}

}  // namespace
