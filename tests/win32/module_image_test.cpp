// The plug-in file itself: what it imports, and its version resource.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "support/plugin_library.h"
#include "zuzovezu_version.h"

namespace {

// Each imported DLL (in lower case) with the functions imported from it by name.
std::map<std::string, std::set<std::string>> Imports(HMODULE module) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  std::map<std::string, std::set<std::string>> imports;
  for (auto* d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    std::string n(reinterpret_cast<char*>(base + d->Name));
    std::transform(n.begin(), n.end(), n.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    std::set<std::string>& functions = imports[n];
    for (auto* t = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->OriginalFirstThunk); t->u1.AddressOfData; ++t) {
      if (IMAGE_SNAP_BY_ORDINAL(t->u1.Ordinal)) continue;
      functions.insert(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + t->u1.AddressOfData)->Name);
    }
  }
  return imports;
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
  for (const auto& [dll, functions] : Imports(plugin.Module())) EXPECT_TRUE(allowed.count(dll)) << dll;
}

// Nothing that starts or steers threads (which a filter never needs and which makes
// scanners suspicious), nothing newer than Windows XP SP3 that a runtime tends to pull
// in, and no narrow message box (its text would be read in the system's code page).
TEST(ModuleImage, ImportsNoThreadControlNothingPastXpAndNoNarrowMessageBox) {
  PluginLibrary plugin;
  const std::set<std::string> rejected = {
      "CreateThread", "CreateRemoteThread", "_beginthread", "_beginthreadex", "ExitThread",
      "TerminateThread", "SuspendThread", "ResumeThread", "GetThreadContext", "SetThreadContext",
      "OpenThread", "QueueUserAPC", "AddVectoredExceptionHandler", "SetUnhandledExceptionFilter",
      "GetTickCount64", "InitializeCriticalSectionEx", "InitOnceExecuteOnce", "InitializeSRWLock",
      "AcquireSRWLockExclusive", "InitializeConditionVariable", "SleepConditionVariableCS",
      "FlsAlloc", "FlsFree", "GetCurrentProcessorNumber", "CreateEventExW", "CreateSemaphoreExW",
      "GetSystemTimePreciseAsFileTime", "LCIDToLocaleName", "GetLocaleInfoEx", "CompareStringEx",
      "MessageBoxA", "MessageBoxExA"};
  for (const auto& [dll, functions] : Imports(plugin.Module())) {
    for (const std::string& f : functions) EXPECT_FALSE(rejected.count(f)) << dll << " " << f;
  }
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
