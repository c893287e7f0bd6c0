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

TEST(SettingsPathBeside, PutsTheFileNextToTheModuleWhateverItsNameOrLength) {
  const std::wstring longFolder(300, L'\u9577');  // 長, far past 259 bytes in code page 932
  const struct {
    std::wstring module, expected;
  } cases[] = {
      {L"C:\\Plugins\\Caf\u00E9\\zuzovezu.ppi", L"C:\\Plugins\\Caf\u00E9\\zodederor.ini"},
      {L"C:\\\u30BD\u30D5\u30C8\\\u30BD.ppi", L"C:\\\u30BD\u30D5\u30C8\\zodederor.ini"},  // ソフト\ソ.ppi
      {L"C:\\" + longFolder + L"\\z.ppi", L"C:\\" + longFolder + L"\\zodederor.ini"},
      {L"zuzovezu.ppi", L""},  // no folder: never the module itself
      {L"", L""},
  };
  for (const auto& c : cases) EXPECT_EQ(SettingsPathBeside(c.module), c.expected);
}

}  // namespace
