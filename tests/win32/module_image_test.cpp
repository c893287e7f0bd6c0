// The plug-in file itself: what it imports, and its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "support/plugin_library.h"
#include "zuzovezu_version.h"

namespace {

std::set<std::string> ImportedDlls(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::set<std::string> names;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    std::string n(reinterpret_cast<char*>(base + d->Name));
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    names.insert(n);
  }
  return names;
}

std::set<std::string> ExportedNames(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto* exports = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto* names = reinterpret_cast<DWORD*>(base + exports->AddressOfNames);
  std::set<std::string> result;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) result.insert(reinterpret_cast<char*>(base + names[i]));
  return result;
}

TEST(ModuleImage, ExportsExactlyThePlainAndDecoratedNames) {
  PluginLibrary plugin;
  const std::set<std::string> expected = {
      "PB_GetPluginInfo", "PBF_FilterCount", "PBF_GetName", "PBF_Execute", "PBF_Setup",
      "_PB_GetPluginInfo@8", "_PBF_FilterCount@0", "_PBF_GetName@20", "_PBF_Execute@44", "_PBF_Setup@20"};
  EXPECT_EQ(ExportedNames(plugin.Module()), expected);
}

TEST(ModuleImage, ImportsOnlyTheSystemDlls) {
  PluginLibrary plugin;
  const std::set<std::string> allowed = {"kernel32.dll", "user32.dll", "gdi32.dll", "msvcrt.dll"};
  for (const std::string& dll : ImportedDlls(plugin.Module())) EXPECT_TRUE(allowed.count(dll)) << dll;
}

class VersionResource : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string path = plugin.Folder() + "zuzovezu.ppi";
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(path.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    data.resize(size);
    ASSERT_TRUE(GetFileVersionInfoA(path.c_str(), 0, size, data.data()));
  }
  std::wstring Value(const wchar_t* name) {
    void* p = nullptr;
    UINT len = 0;
    std::wstring key = std::wstring(L"\\StringFileInfo\\041104b0\\") + name;
    if (!VerQueryValueW(data.data(), key.c_str(), &p, &len) || !p) return L"<missing>";
    return static_cast<wchar_t*>(p);
  }
  PluginLibrary plugin;
  std::vector<BYTE> data;
};

TEST_F(VersionResource, IsJapaneseUnicodeVersionZeroFive) {
  EXPECT_NE(FindResourceExA(plugin.Module(), MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1),
                            MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT)),
            nullptr);
  WORD* translation = nullptr;
  UINT len = 0;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\VarFileInfo\\Translation",
                             reinterpret_cast<void**>(&translation), &len));
  ASSERT_EQ(len, 4u);
  EXPECT_EQ(translation[0], 0x0411);
  EXPECT_EQ(translation[1], 1200);
  VS_FIXEDFILEINFO* fixed = nullptr;
  ASSERT_TRUE(VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&fixed), &len));
  // The project's version, 0.5.0 when this was written.
  constexpr DWORD kMs = MAKELONG(ZUZOVEZU_VERSION_MINOR, ZUZOVEZU_VERSION_MAJOR);
  constexpr DWORD kLs = MAKELONG(0, ZUZOVEZU_VERSION_PATCH);
  EXPECT_EQ(fixed->dwFileVersionMS, kMs);
  EXPECT_EQ(fixed->dwFileVersionLS, kLs);
  EXPECT_EQ(fixed->dwProductVersionMS, kMs);
  EXPECT_EQ(fixed->dwProductVersionLS, kLs);
}

TEST_F(VersionResource, NamesTheModule) {
  EXPECT_EQ(Value(L"FileVersion"), L"" ZUZOVEZU_VERSION_RESOURCE_TEXT);  // "0, 5, 0, 0"
  EXPECT_EQ(Value(L"ProductVersion"), L"" ZUZOVEZU_VERSION_RESOURCE_TEXT);
  EXPECT_EQ(Value(L"FileDescription"), L"zuzovezu");
  EXPECT_EQ(Value(L"InternalName"), L"zuzovezu");
  EXPECT_EQ(Value(L"ProductName"), L"zuzovezu");
  EXPECT_EQ(Value(L"OriginalFilename"), L"zuzovezu.ppi");
  EXPECT_NE(Value(L"Comments").find(L"a filter plug-in for .ppi host applications"), std::wstring::npos);
}

}  // namespace
