#include <gtest/gtest.h>

#include <cwctype>
#include <optional>
#include <string>
#include <vector>

#include "ppihost/profile_overlay.h"

namespace {

std::wstring Upper(std::wstring name) {
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towupper(c));
  return name;
}

ProfileOverlay Overlay(ProfileWrites writes, std::vector<Setting> overrides = {}) {
  return ProfileOverlay(std::move(overrides), writes, &Upper);
}

std::wstring Names(const std::vector<Setting>& settings) {
  std::wstring text;
  for (const Setting& s : settings) text += s.section + L"." + s.key + L"=" + s.value + L";";
  return text;
}

TEST(ProfileOverlay, OverridesLieOverTheFileInAnyCaseTheLastWinning) {
  const ProfileOverlay o = Overlay(ProfileWrites::ToFile,
                                   {{L"Post", L"division", L"4"}, {L"POST", L"Division", L"12abc"},
                                    {L"Cut", L"rmask", L""}, {L"Cut", L"gmask", L"x"}});
  EXPECT_EQ(o.String(L"post", L"DIVISION", L"8"), std::optional<std::wstring>(L"12abc"));
  // Read as a number, as the file's own value would be: its leading digits, an empty
  // value the default, no digits 0.
  EXPECT_EQ(o.Int(L"post", L"division", 8), std::optional<uint32_t>(12));
  EXPECT_EQ(o.Int(L"cut", L"rmask", 3), std::optional<uint32_t>(3));
  EXPECT_EQ(o.Int(L"cut", L"gmask", 3), std::optional<uint32_t>(0));
  // Anything else is the file's.
  EXPECT_EQ(o.String(L"post", L"preview", L"1"), std::nullopt);
  EXPECT_EQ(o.Int(L"other", L"division", 1), std::nullopt);
}

TEST(ProfileOverlay, WritesGoToTheFileUnlessKeptInMemory) {
  ProfileOverlay toFile = Overlay(ProfileWrites::ToFile, {{L"s", L"k", L"1"}});
  EXPECT_FALSE(toFile.Keep(L"s", L"k", L"2"));
  EXPECT_FALSE(toFile.Keep(L"s", nullptr, nullptr));
  EXPECT_EQ(toFile.String(L"s", L"k", L""), std::optional<std::wstring>(L"1"));

  ProfileOverlay kept = Overlay(ProfileWrites::KeptInMemory, {{L"s", L"k", L"1"}, {L"t", L"k", L"5"}});
  EXPECT_TRUE(kept.Keep(nullptr, nullptr, nullptr));  // a flush
  EXPECT_TRUE(kept.Keep(L"S", L"new", L"7"));
  EXPECT_EQ(kept.String(L"s", L"NEW", L""), std::optional<std::wstring>(L"7"));
  // A key removed reads as the default, and is not left to the file.
  EXPECT_TRUE(kept.Keep(L"t", L"k", nullptr));
  EXPECT_EQ(kept.String(L"t", L"k", L"d"), std::optional<std::wstring>(L"d"));
  EXPECT_EQ(kept.Int(L"t", L"k", 9), std::optional<uint32_t>(9));
  // A section removed takes its overrides and the file's keys with it, until written again.
  EXPECT_TRUE(kept.Keep(L"s", nullptr, nullptr));
  EXPECT_EQ(kept.String(L"s", L"k", L"d"), std::optional<std::wstring>(L"d"));
  EXPECT_EQ(kept.String(L"s", L"fromFile", L"d"), std::optional<std::wstring>(L"d"));
  EXPECT_TRUE(kept.Keep(L"s", L"k", L"3"));
  EXPECT_EQ(kept.Int(L"s", L"k", 0), std::optional<uint32_t>(3));
  EXPECT_EQ(kept.String(L"u", L"k", L"d"), std::nullopt);
}

TEST(ProfileOverlay, ReadsAreListedOnceInFirstOrderAndUnreadOverridesNamed) {
  ProfileOverlay o = Overlay(ProfileWrites::KeptInMemory,
                             {{L"Post", L"divison", L"4"}, {L"post", L"DIVISON", L"5"},
                              {L"Post", L"division", L"6"}, {L"Cut", L"link", L"0"}});
  o.Record(L"Post", L"division", L"6");
  o.Record(L"Post", L"preview", L"1");
  o.Record(L"POST", L"DIVISION", L"7");  // read again: its place stays, its value changes
  EXPECT_EQ(Names(o.Reads()), L"Post.division=7;Post.preview=1;");
  // A misspelt name given twice is named once, as first given.
  EXPECT_EQ(Names(o.Unread()), L"Post.divison=4;Cut.link=0;");
  // Forgetting the reads (between the filters of a listing) keeps what was ever read.
  o.ForgetReads();
  EXPECT_EQ(Names(o.Reads()), L"");
  o.Record(L"cut", L"LINK", L"0");
  EXPECT_EQ(Names(o.Reads()), L"cut.LINK=0;");
  EXPECT_EQ(Names(o.Unread()), L"Post.divison=4;");
}

}  // namespace
