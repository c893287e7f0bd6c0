// ppihost.exe as a script uses it: a separate process with its output in pipes, run on
// a private copy of the plug-in in a folder with a Japanese name. Results are checked
// against the filters' rules, computed here.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <set>

#include "host/host_process.h"
#include "host/test_images.h"
#include "ppihost/com_ref.h"
#include "ppihost/command_line.h"
#include "ppihost/commands.h"
#include "ppihost/host_error.h"
#include "ppihost/import_patch.h"
#include "ppihost/input_patterns.h"
#include "ppihost/file_handle.h"
#include "ppihost/output_file.h"
#include "ppihost/system_message.h"
#include "zuzovezu_version.h"

namespace {

// ソラリゼーション、ポスタリゼーション、下位ビット切り捨て、カラー
const std::wstring kFolderName = L"\u30d7\u30e9\u30b0\u30a4\u30f3 \u753b\u50cf";  // プラグイン 画像
const std::string kColorJa = "\xe3\x82\xab\xe3\x83\xa9\xe3\x83\xbc";
const std::string kSolarizationJa =
    "\xe3\x82\xbd\xe3\x83\xa9\xe3\x83\xaa\xe3\x82\xbc\xe3\x83\xbc\xe3\x82\xb7\xe3\x83\xa7\xe3\x83\xb3...";
const std::string kPosterizationJa =
    "\xe3\x83\x9d\xe3\x82\xb9\xe3\x82\xbf\xe3\x83\xaa\xe3\x82\xbc\xe3\x83\xbc\xe3\x82\xb7\xe3\x83\xa7\xe3\x83\xb3...";
const std::string kCutLowBitJa =
    "\xe4\xb8\x8b\xe4\xbd\x8d\xe3\x83\x93\xe3\x83\x83\xe3\x83\x88\xe5\x88\x87\xe3\x82\x8a\xe6\x8d\xa8\xe3\x81\xa6...";
// 設定ファイルに書かれた値が不正です。
const std::string kInvalidSettingsJa =
    "\xe8\xa8\xad\xe5\xae\x9a\xe3\x83\x95\xe3\x82\xa1\xe3\x82\xa4\xe3\x83\xab\xe3\x81\xab\xe6\x9b\xb8"
    "\xe3\x81\x8b\xe3\x82\x8c\xe3\x81\x9f\xe5\x80\xa4\xe3\x81\x8c\xe4\xb8\x8d\xe6\xad\xa3\xe3\x81\xa7"
    "\xe3\x81\x99\xe3\x80\x82";

// What a file that no decoder takes is said to be.
const char kUnknownFormat[] =
    "not a picture in a format this system reads (unknown format or a damaged header) (0x88982F50)";

struct FilterCase {
  const wchar_t* selector;  // as typed on the command line
  const char* name;
  Pixel (*rule)(Pixel);
};
const FilterCase kFilters[] = {
    {L"0", "Solarization", SolarizeDefault},
    {L"POST", "Posterization", PosterizeDefault},
    {L"cut low", "Cut Low Bit", CutLowBitDefault},
};
PixelRule Posterize(int levels) {
  return [=](Pixel p) { return ExpectedPosterization(p, levels); };
}
PixelRule CutLowBit(int red, int green, int blue) {
  return [=](Pixel p) { return ExpectedCutLowBit(p, red, green, blue); };
}

// The small disk that CTest mounts for the test run when it runs as root
// (host/small_disk.sh), as Wine sees it; empty when there is none.
std::wstring SmallDisk() {
  const char* unixPath = std::getenv("ZUZOVEZU_SMALL_DISK");
  if (!unixPath || !*unixPath) return {};
  std::wstring path = L"Z:";
  for (const char* c = unixPath; *c; ++c) path += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
  path += L"\\";
  return GetFileAttributesW((path + L"mounted").c_str()) == INVALID_FILE_ATTRIBUTES ? L"" : path;
}

// `err` is one line that starts with `start` and names each of `parts`.
::testing::AssertionResult OneLine(const std::string& err, const std::string& start,
                                   std::initializer_list<std::string> parts = {}) {
  bool named = true;
  for (const std::string& part : parts) named = named && err.find(part) != std::string::npos;
  if (std::count(err.begin(), err.end(), '\n') == 1 && err.rfind(start, 0) == 0 && named) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "standard error: " << err;
}

class CommandLineHost : public ::testing::Test {
 protected:
  void SetUp() override {
    parent = UniqueTempFolder();
    folder = parent + kFolderName + L"\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    plugin = folder + L"zuzovezu.ppi";
    ASSERT_TRUE(CopyFileW((ProgramFolderW() + L"zuzovezu.ppi").c_str(), plugin.c_str(), FALSE));
  }

  void TearDown() override {
    for (const std::wstring& name : Files()) DeleteFileW((folder + name).c_str());
    for (const std::wstring& name : Files(folder + L"sub\\")) {
      DeleteFileW((folder + L"sub\\" + name).c_str());
    }
    RemoveDirectoryW((folder + L"sub").c_str());
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(parent.c_str());
  }

  std::set<std::wstring> Files() const { return Files(folder); }
  std::set<std::wstring> Files(const std::wstring& where) const {
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((where + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }

  void WriteSetting(const wchar_t* section, const wchar_t* key, const wchar_t* value) const {
    const std::wstring ini = folder + L"zodederor.ini";
    WritePrivateProfileStringW(section, key, value, ini.c_str());
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, ini.c_str());
  }

  // The file's bytes and last-write time: a file rewritten with the same bytes differs.
  static std::string Stamp(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data);
    return ReadBytes(path) + "@" + std::to_string(data.ftLastWriteTime.dwHighDateTime) + ":" +
           std::to_string(data.ftLastWriteTime.dwLowDateTime);
  }

  Image Read(const std::wstring& path) const {
    try {
      return ReadImage(path);
    } catch (const HostError& e) {
      ADD_FAILURE() << Utf8(e.message);
      return Image{};
    }
  }

  void Write(const std::wstring& path, const Image& image) const {
    try {
      OutputFile(path).Write(EncodeImage(path, image));
    } catch (const HostError& e) {
      FAIL() << Utf8(e.message);
    }
  }

  HostResult Run(const wchar_t* filter, const std::wstring& input, const std::wstring& output,
                 std::vector<std::wstring> more = {}) const {
    std::vector<std::wstring> args{L"run", plugin, filter, input, output};
    args.insert(args.end(), more.begin(), more.end());
    return RunHost(args);
  }

  // Runs `filter` of the stand-in plug-in whose filters crash or hide a message box,
  // copied in as `name` beside an input picture, alone or with others (on worker
  // threads). The run must end by itself and leave the folder as it was.
  HostResult RunFaultyPlugin(const wchar_t* name, const wchar_t* filter,
                             bool manyPictures = false) const {
    Write(folder + L"in.png", TestPicture(9, 6, true));
    Write(folder + L"in2.png", TestPicture(7, 5, true));
    EXPECT_TRUE(CopyFileW((ProgramFolderW() + L"faulty_plugin.dll").c_str(),
                          (folder + name).c_str(), FALSE));
    const std::set<std::wstring> before = Files();
    const HostResult r =
        RunHost(manyPictures ? std::vector<std::wstring>{L"run", folder + name, filter, folder + L"in*.png",
                                                         L"--out-dir", folder, L"--format", L"tif"}
                             : std::vector<std::wstring>{L"run", folder + name, filter,
                                                         folder + L"in.png", folder + L"out.png"});
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(Files(), before);
    return r;
  }

  ComApartment com;
  std::wstring parent, folder, plugin;
};

TEST_F(CommandLineHost, ListShowsEveryFilterInBothForms) {
  const HostResult r = RunHost({L"list", plugin});
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.err, "");
  const std::string maker = "zuzovezu " ZUZOVEZU_VERSION_TEXT
      " by the zuzovezu project - a filter plug-in for .ppi host applications\n";
  const std::string filters[] = {
      "0  Color / " + kColorJa + "  Solarization... / " + kSolarizationJa + "\n",
      "1  Color / " + kColorJa + "  Posterization... / " + kPosterizationJa + "\n",
      "2  Color / " + kColorJa + "  Cut Low Bit... / " + kCutLowBitJa + "\n"};
  EXPECT_EQ(r.out, maker + filters[0] + filters[1] + filters[2]);

  // --keys: what each filter reads, with the values in effect, spelt as it reads them.
  WriteSetting(L"Solarization", L"threshold", L"100");
  const std::set<std::wstring> before = Files();
  const HostResult keys = RunHost({L"list", plugin, L"--keys", L"--set", L"posterization.DIVISION=4"});
  ASSERT_EQ(keys.exitCode, 0u) << keys.err;
  EXPECT_EQ(keys.err, "");
  EXPECT_EQ(keys.out, maker + filters[0] +
                          "   Solarization.threshold=100\n   Solarization.channel=0\n"
                          "   Solarization.preview=1\n" +
                          filters[1] + "   Posterization.division=4\n   Posterization.preview=1\n" +
                          filters[2] +
                          "   CutLBit.rmask=1\n   CutLBit.gmask=1\n   CutLBit.bmask=1\n"
                          "   CutLBit.link=1\n   CutLBit.preview=1\n");
  EXPECT_EQ(Files(), before);
}

TEST_F(CommandLineHost, RunAppliesEachFilterToEveryInputFormat) {
  const Image withAlpha = TestPicture(9, 6, true);
  const Image opaque = TestPicture(9, 6, false);
  Write(folder + L"in.png", withAlpha);
  Write(folder + L"in.tif", withAlpha);
  Write(folder + L"in.jpg", opaque);
  WriteBmp(folder + L"in.bmp", opaque, 24);
  WriteBmp(folder + L"in32.bmp", opaque, 32);
  struct Input {
    const wchar_t* name;
    Image decoded;  // what the filter is given
  } inputs[] = {
      {L"in.png", withAlpha},
      {L"in.tif", withAlpha},
      {L"in.bmp", opaque},  // written byte by byte: no alpha, so 255
      {L"in32.bmp", opaque},  // its unused fourth byte 0 is no alpha either
      {L"in.jpg", Read(folder + L"in.jpg")},  // lossy: the rule applies to what decodes
  };
  for (const Input& in : inputs) {
    for (const FilterCase& f : kFilters) {
      SCOPED_TRACE(Utf8(in.name) + " " + f.name);
      const std::wstring out = folder + L"out.png";
      DeleteFileW(out.c_str());
      const HostResult r = Run(f.selector, folder + in.name, out);
      ASSERT_EQ(r.exitCode, 0u) << r.err;
      EXPECT_EQ(r.out + r.err, "");
      EXPECT_EQ(FirstDifference(Read(out), Apply(in.decoded, f.rule)), "");
    }
  }
}

TEST_F(CommandLineHost, RunWritesEveryOutputFormat) {
  const Image source = TestPicture(16, 12, true);
  Write(folder + L"in.png", source);
  const Image posterized = Apply(source, PosterizeDefault);
  Image opaque = posterized;
  for (size_t i = 3; i < opaque.pixels.size(); i += 4) opaque.pixels[i] = 255;

  const std::string noAlpha = " cannot hold transparency; its pixels were written opaque\n";
  for (const wchar_t* name : {L"out.png", L"out.TIFF", L"out.bmp"}) {
    SCOPED_TRACE(Utf8(name));
    const HostResult r = Run(L"1", folder + L"in.png", folder + name);
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    // Alpha written where it cannot be kept is said in one line.
    EXPECT_EQ(r.err, std::wstring(name) == L"out.bmp"
                         ? "ppihost: warning: " + Utf8(folder + name) + noAlpha
                         : "");
    const Image written = Read(folder + name);
    // BMP keeps no alpha; PNG and TIFF keep it.
    EXPECT_EQ(FirstDifference(written, std::wstring(name) == L"out.bmp" ? opaque : posterized), "");
  }

  // An opaque picture loses nothing in formats without alpha.
  Write(folder + L"opaque.png", TestPicture(16, 12, false));
  for (const wchar_t* name : {L"out.bmp", L"out.jpg"}) {
    const HostResult r = Run(L"1", folder + L"opaque.png", folder + name);
    EXPECT_EQ(r.exitCode, 0u) << r.err;
    EXPECT_EQ(r.err, "") << Utf8(name);
  }

  // JPEG is lossy and has no alpha: a smooth picture comes back close, not exact, and
  // its colours are kept as they are, not blended by alpha.
  Image smooth = TestPicture(32, 24, true);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 32; ++x) {
      uint8_t* p = &smooth.pixels[(y * 32 + x) * 4];
      p[0] = 128, p[1] = static_cast<uint8_t>(y * 10), p[2] = static_cast<uint8_t>(x * 8);
      p[3] = static_cast<uint8_t>(x * 8);
    }
  }
  Write(folder + L"smooth.png", smooth);
  const HostResult r = Run(L"cut", folder + L"smooth.png", folder + L"out.jpeg");
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.err, "ppihost: warning: " + Utf8(folder + L"out.jpeg") + noAlpha);
  const Image jpeg = Read(folder + L"out.jpeg");
  const Image expected = Apply(smooth, CutLowBitDefault);
  ASSERT_EQ(jpeg.width, 32);
  ASSERT_EQ(jpeg.height, 24);
  int worst = 0;
  for (size_t i = 0; i < jpeg.pixels.size(); ++i) {
    if (i % 4 == 3) {
      EXPECT_EQ(jpeg.pixels[i], 255) << i;
    } else {
      worst = std::max(worst, std::abs(jpeg.pixels[i] - expected.pixels[i]));
    }
  }
  EXPECT_LE(worst, 12);
}

TEST_F(CommandLineHost, RegionLimitsTheFilterAndLeavesTheRestAsItWas) {
  const Image source = TestPicture(9, 6, true);
  Write(folder + L"in.png", source);
  struct Case {
    const wchar_t* region;
    int left, top, right, bottom;
  } cases[] = {
      {L"2,1,7,4", 2, 1, 7, 4},   // inside
      {L"0,0,9,6", 0, 0, 9, 6},   // the whole image
      {L"8,5,9,6", 8, 5, 9, 6},   // the last pixel
      {L"3,2,3,6", 3, 2, 3, 6},   // no columns
      {L"0,4,9,4", 0, 4, 9, 4},   // no rows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.region));
    const HostResult r = Run(L"2", folder + L"in.png", folder + L"out.png", {L"--region", c.region});
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    EXPECT_EQ(FirstDifference(Read(folder + L"out.png"),
                              Apply(source, CutLowBitDefault, c.left, c.top, c.right, c.bottom)),
              "");
  }
}

TEST_F(CommandLineHost, NoProgressBarWhenNotOnATerminal) {
  Write(folder + L"in.png", TestPicture(40, 300, true));
  const HostResult r = Run(L"0", folder + L"in.png", folder + L"out.png");
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "");
}

TEST_F(CommandLineHost, BadInputFailsWithOneLineAndWritesNothing) {
  Write(folder + L"in.png", TestPicture(9, 6, true));
  WriteBytes(folder + L"text.png", "not an image\n");
  // A PNG whose signature is damaged, and a BMP that ends in its second row of pixels.
  std::string png = ReadBytes(folder + L"in.png");
  png[1] = 'Q';
  WriteBytes(folder + L"signature.png", png);
  WriteBmp(folder + L"short.bmp", TestPicture(9, 6, false), 24);
  WriteBytes(folder + L"short.bmp", ReadBytes(folder + L"short.bmp").substr(0, 54 + 28 + 10));
  WriteBytes(folder + L"text.ppi", "not a plug-in\n");
  CreateDirectoryW((folder + L"sub").c_str(), nullptr);
  CopyFileW((ProgramFolderW() + L"plugin_without_exports.dll").c_str(),
            (folder + L"partial.ppi").c_str(), FALSE);
  const std::wstring in = folder + L"in.png", out = folder + L"out.png", bad = folder + L"text.png";
  struct Case {
    const char* what;
    std::vector<std::wstring> args;
    DWORD exitCode;
    const char* says;
  } cases[] = {
      {"missing plug-in", {L"run", folder + L"none.ppi", L"0", in, out}, 3, "no plug-in file"},
      {"not a DLL", {L"run", folder + L"text.ppi", L"0", in, out}, 3, "not a Windows DLL"},
      {"a program", {L"run", ProgramFolderW() + L"ppihost.exe", L"0", in, out}, 3, "not a DLL"},
      {"no filter exports", {L"run", folder + L"partial.ppi", L"0", in, out}, 3, "does not export"},
      {"index out of range", {L"run", plugin, L"3", in, out}, 2, "no filter 3"},
      {"negative index", {L"run", plugin, L"-1", in, out}, 2, "no filter -1"},
      {"unknown name", {L"run", plugin, L"sharpen", in, out}, 2, "no filter named sharpen"},
      {"missing input", {L"run", plugin, L"0", folder + L"none.png", out}, 4, "no image file"},
      {"unreadable input", {L"run", plugin, L"0", folder + L"text.png", out}, 4, kUnknownFormat},
      {"damaged signature", {L"run", plugin, L"0", folder + L"signature.png", out}, 4, kUnknownFormat},
      {"BMP cut short", {L"run", plugin, L"0", folder + L"short.bmp", out}, 4,
       "(0x80004005) while decoding the pixels; the file may be damaged or truncated"},
      {"input is a folder", {L"run", plugin, L"0", folder + L"sub", out}, 4, "no image file"},
      {"region too wide", {L"run", plugin, L"0", in, out, L"--region", L"0,0,10,6"}, 2, "not inside"},
      {"region too tall", {L"run", plugin, L"0", in, out, L"--region", L"0,0,9,7"}, 2, "not inside"},
      {"negative region", {L"run", plugin, L"0", in, out, L"--region", L"-1,0,2,2"}, 2, "not inside"},
      {"reversed region", {L"run", plugin, L"0", in, out, L"--region", L"3,0,2,2"}, 2, "not inside"},
      {"three numbers", {L"run", plugin, L"0", in, out, L"--region", L"1,2,3"}, 2, "four whole numbers"},
      {"not numbers", {L"run", plugin, L"0", in, out, L"--region", L"a,b,c,d"}, 2, "four whole numbers"},
      // Refused with the options, before the (unreadable) picture is read.
      {"not numbers, many pictures", {L"run", plugin, L"0", bad, L"--out-dir", folder, L"--region=1,2,3,"},
       2, "four whole numbers"},
      {"region without numbers", {L"list", plugin, L"--region"}, 2, "--region needs LEFT,TOP,RIGHT,BOTTOM"},
      // The output is checked before the input is read: these inputs are not images.
      {"no output folder", {L"run", plugin, L"0", bad, folder + L"none\\out.png"}, 5, "no folder"},
      {"output is a folder", {L"run", plugin, L"0", bad, folder + L"sub"}, 5, "cannot"},
      {"unknown output type", {L"run", plugin, L"0", bad, folder + L"out.xyz"}, 5, "image format"},
      {"forbidden character", {L"run", plugin, L"0", bad, folder + L"out?.png"}, 5, "character ?"},
      {"device name", {L"run", plugin, L"0", bad, folder + L"NUL.png"}, 5, "reserved for a device"},
      {"name too long", {L"run", plugin, L"0", bad, folder + std::wstring(300, L'a') + L".png"}, 5,
       "longer than 255 characters"},
      {"unknown option", {L"run", plugin, L"0", in, out, L"--fast"}, 2, "unknown option"},
      {"setting without a value", {L"run", plugin, L"0", in, out, L"--set", L"Solarization.threshold"}, 2,
       "SECTION.KEY=VALUE"},
      {"setting without a section", {L"run", plugin, L"0", in, out, L"--set=threshold=9"}, 2, "SECTION.KEY=VALUE"},
      {"missing settings file", {L"run", plugin, L"0", in, out, L"--settings", folder + L"none.ini"}, 2,
       "no settings file"},
      {"missing argument", {L"run", plugin, L"0", in}, 2, "wrong number of arguments"},
      {"unknown command", {L"filter", plugin, L"0", in, out}, 2, "unknown command filter"},
      // Many pictures: refused before any work.
      {"one base name twice", {L"run", plugin, L"0", in, folder + L"sub\\in.png", L"--out-dir", folder},
       2, "would both be written to"},
      {"base names in two cases", {L"run", plugin, L"0", in, folder + L"sub\\IN.Png", L"--out-dir", folder},
       2, "would both be written to"},
      {"no output folder", {L"run", plugin, L"0", in, L"--out-dir", folder + L"none"}, 5, "no folder"},
      {"pattern matches nothing", {L"run", plugin, L"0", folder + L"*.gif", L"--out-dir", folder}, 4,
       "no file matches"},
      {"pattern in a folder part", {L"run", plugin, L"0", folder + L"s*\\in.png", L"--out-dir", folder},
       2, "only in its last part"},
      {"unknown format", {L"run", plugin, L"0", in, L"--out-dir", folder, L"--format", L"gif"}, 2,
       "--format wants"},
      {"no jobs", {L"run", plugin, L"0", in, L"--out-dir", folder, L"-j", L"0"}, 2, "--jobs wants"},
      {"a type only read", {L"run", plugin, L"0", folder + L"in.gif", L"--out-dir", folder}, 5,
       "choose one with --format"},
      {"format of one output", {L"run", plugin, L"0", in, out, L"--format", L"bmp"}, 2, "--out-dir"},
  };
  const std::set<std::wstring> before = Files();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const HostResult r = RunHost(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << r.err;
    EXPECT_TRUE(OneLine(r.err, "ppihost: ", {c.says}));
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(Files(), before);  // no output, no temporary file left behind
  }
}

TEST_F(CommandLineHost, PluginMessageBoxIsPrintedAndTheRunFails) {
  Write(folder + L"in.png", TestPicture(9, 6, true));
  WriteSetting(L"Solarization", L"threshold", L"300");
  const std::set<std::wstring> before = Files();
  // Standard input is not a terminal, so the run is a batch run without --batch too.
  for (std::vector<std::wstring> more : {std::vector<std::wstring>{}, {L"--batch"}}) {
    const HostResult r = Run(L"solar", folder + L"in.png", folder + L"out.png", more);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 1u);
    EXPECT_NE(r.err.find(kInvalidSettingsJa), std::string::npos) << r.err;
    EXPECT_EQ(Files(), before);
  }
  // Of many pictures, each failure is one line that names its picture and the
  // plug-in's words.
  Write(folder + L"in2.png", TestPicture(9, 6, true));
  const HostResult r = RunHost({L"run", plugin, L"solar", folder + L"in*.png", L"--out-dir", folder,
                                L"--format", L"bmp", L"-j", L"2"});
  EXPECT_EQ(r.exitCode, 1u);
  for (const char* name : {"in.png", "in2.png"}) {
    EXPECT_NE(r.err.find("ppihost: Solarization did not run on " + Utf8(folder) + name + " (" ),
              std::string::npos) << r.err;
  }
  EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 3) << r.err;
  EXPECT_NE(r.err.find(kInvalidSettingsJa + "); "), std::string::npos) << r.err;
  EXPECT_NE(r.err.find("\nppihost: 0 written, 2 failed\n"), std::string::npos) << r.err;
  // The other filters do not read that section.
  EXPECT_EQ(Run(L"1", folder + L"in.png", folder + L"out.png").exitCode, 0u);
}

TEST_F(CommandLineHost, SettingsForOneRunChangeTheResultAndNoFile) {
  const Image source = TestPicture(9, 6, true);
  Write(folder + L"in.png", source);
  WriteSetting(L"Posterization", L"division", L"3");
  WriteSetting(L"CutLBit", L"gmask", L"3");
  const std::wstring own = folder + L"zodederor.ini", other = folder + L"other.ini";
  WriteBytes(other, "[Posterization]\r\ndivision=6\r\n");
  const std::string ownStamp = Stamp(own), otherStamp = Stamp(other);
  std::set<std::wstring> files = Files();
  files.insert(L"out.png");
  struct Case {
    const char* what;
    std::vector<std::wstring> more;
    const wchar_t* filter;
    PixelRule rule;
    std::string warning;
  } cases[] = {
      {"the plug-in's file", {}, L"post", Posterize(3), ""},
      {"a value over it", {L"--set", L"Posterization.division=4"}, L"post", Posterize(4), ""},
      {"the last of two, in any case", {L"--set", L"CutLBit.rmask=6", L"--set=cutlbit.RMASK=7"}, L"cut",
       CutLowBit(7, 3, 1), ""},
      {"another file instead", {L"--settings", other}, L"post", Posterize(6), ""},
      {"a value over another file", {L"--settings", other, L"--set", L"CutLBit.rmask=6"}, L"cut",
       CutLowBit(6, 1, 1), ""},
      // A name the plug-in never read is said, and the run goes on.
      {"a misspelt key", {L"--set", L"Posterization.divison=4"}, L"post", Posterize(3),
       "--set Posterization.divison=4 was not used"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const HostResult r = Run(c.filter, folder + L"in.png", folder + L"out.png", c.more);
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    if (c.warning.empty()) EXPECT_EQ(r.err, "");
    else EXPECT_TRUE(OneLine(r.err, "ppihost: warning: ", {c.warning}));
    EXPECT_EQ(FirstDifference(Read(folder + L"out.png"), Apply(source, c.rule)), "");
  }
  EXPECT_EQ(Stamp(own), ownStamp);
  EXPECT_EQ(Stamp(other), otherStamp);
  EXPECT_EQ(Files(), files);
}

// Two runs at once, each with its own --set: neither sees the other's value.
TEST_F(CommandLineHost, RunsAtOnceKeepTheirOwnSettings) {
  const Image source = TestPicture(300, 200, true);
  Write(folder + L"in.png", source);
  const auto args = [&](const wchar_t* out, const wchar_t* setting) {
    return std::vector<std::wstring>{L"run", plugin, L"post", folder + L"in.png", folder + out, L"--set", setting};
  };
  HostResult second;
  bool started = false;
  // The second starts while the first is running, and ends before the first is awaited.
  const HostResult first = RunHost(args(L"a.png", L"Posterization.division=3"), [&](DWORD) {
    if (!started) second = RunHost(args(L"b.png", L"Posterization.division=5"));
    started = true;
  });
  ASSERT_TRUE(started);
  ASSERT_EQ(first.exitCode, 0u) << first.err;
  ASSERT_EQ(second.exitCode, 0u) << second.err;
  EXPECT_EQ(FirstDifference(Read(folder + L"a.png"), Apply(source, Posterize(3))), "");
  EXPECT_EQ(FirstDifference(Read(folder + L"b.png"), Apply(source, Posterize(5))), "");
}

// Many pictures per call: every good one is written whatever the others do, the bad
// one is named, and the first failure's code ends the run.
TEST_F(CommandLineHost, BatchWritesEveryGoodPictureAndNamesTheBadOne) {
  const std::wstring out = folder + L"sub\\";
  ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
  std::vector<Image> pictures;
  for (int i = 0; i < 4; ++i) {
    pictures.push_back(TestPicture(9 + i, 6, true));
    Write(folder + L"p" + std::to_wstring(i) + L".png", pictures.back());
  }
  WriteBytes(folder + L"p2.png", "not an image\n");
  Write(folder + L"single.tif", pictures[0]);
  // A pattern, and a file whose output takes the --format's extension.
  const HostResult r = RunHost({L"run", plugin, L"post", folder + L"p*.png", folder + L"single.tif",
                                L"--out-dir", out, L"--format", L"png", L"--jobs", L"2"});
  EXPECT_EQ(r.exitCode, 4u) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, "ppihost: cannot read " + Utf8(folder) + "p2.png as an image (PNG, BMP, JPEG, "
                   "TIFF or GIF): " + kUnknownFormat + "\n"
                   "ppihost: 4 written, 1 failed\n");
  EXPECT_EQ(Files(out), (std::set<std::wstring>{L"p0.png", L"p1.png", L"p3.png", L"single.png"}));
  for (int i : {0, 1, 3}) {
    EXPECT_EQ(FirstDifference(Read(out + L"p" + std::to_wstring(i) + L".png"),
                              Apply(pictures[i], PosterizeDefault)), "") << i;
  }

  // A region too wide for one picture fails that picture alone, and names it.
  const HostResult region = RunHost({L"run", plugin, L"post", folder + L"p0.png", folder + L"p1.png",
                                     L"--out-dir", out, L"--region", L"1,1,10,5"});
  EXPECT_EQ(region.exitCode, 2u) << region.err;
  EXPECT_EQ(region.err, "ppihost: region 1,1,10,5 is not inside " + Utf8(folder) + "p0.png, a 9x6 image; " +
                            Utf8(out) + "p0.png was not written\nppihost: 1 written, 1 failed\n");
  EXPECT_EQ(FirstDifference(Read(out + L"p1.png"), Apply(pictures[1], PosterizeDefault, 1, 1, 10, 5)), "");
}

// Only a plug-in that ran can have read a --set: after a batch in which no picture
// reached it, nothing is said of them.
TEST_F(CommandLineHost, UnusedSettingsAreNamedOnlyWhenThePluginRan) {
  WriteBytes(folder + L"a_bad.png", "not an image\n");
  Write(folder + L"b_good.png", TestPicture(9, 6, true));
  const std::wstring out = folder + L"sub\\";
  ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
  const std::string unused = "ppihost: warning: --set CutLBit.rmsk=0 was not used: the plug-in read no "
                             "key rmsk in section CutLBit\n";
  struct Case {
    const wchar_t* inputs;
    std::string ends;
  } cases[] = {
      {L"a_*.png", "\nppihost: 0 written, 1 failed\n"},
      {L"?_*.png", "\nppihost: 1 written, 1 failed\n" + unused},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.inputs));
    const HostResult r = RunHost({L"run", plugin, L"cut", folder + c.inputs, L"--out-dir", out,
                                  L"--set", L"CutLBit.rmask=0", L"--set", L"CutLBit.rmsk=0"});
    EXPECT_EQ(r.exitCode, 4u);
    EXPECT_EQ(r.err.substr(r.err.find('\n')), c.ends);
  }
}

// The memory the pictures in flight may hold, forced small for one scope (ppihost
// reads it from PPIHOST_MEMORY_BUDGET, in bytes).
class MemoryBudget {
 public:
  explicit MemoryBudget(const wchar_t* bytes) {
    if (bytes) SetEnvironmentVariableW(L"PPIHOST_MEMORY_BUDGET", bytes);
  }
  ~MemoryBudget() { SetEnvironmentVariableW(L"PPIHOST_MEMORY_BUDGET", nullptr); }
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;
};

// The plug-in runs one call at a time while pictures are read and written on several
// threads, as many at once as their memory allows: what each picture becomes must not
// depend on that.
TEST_F(CommandLineHost, JobsDoNotChangeTheOutputs) {
  const wchar_t* const names[] = {L"in_a.png", L"in_b.tif", L"in_c.jpg",
                                  L"in_d.bmp", L"in_e.png", L"in_f.tif"};
  for (int i = 0; i < 6; ++i) {
    Write(folder + names[i], TestPicture(300 + 7 * i, 200 - 5 * i, i % 2 == 0));
  }
  struct Case {
    const wchar_t* jobs;
    const wchar_t* budget;  // null: the address space's
  } cases[] = {
      {L"1", nullptr},
      {L"2", nullptr},
      {L"3", L"1500000"},  // each picture fits alone, no two together
  };
  std::string outputs[3];
  for (size_t c = 0; c < 3; ++c) {
    SCOPED_TRACE(c);
    const MemoryBudget budget(cases[c].budget);
    const std::wstring out = folder + L"sub\\";
    CreateDirectoryW(out.c_str(), nullptr);
    const HostResult r = RunHost({L"run", plugin, L"cut", folder + L"in_*", L"--out-dir", out,
                                  L"--jobs", cases[c].jobs});
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    EXPECT_EQ(r.err, "ppihost: 6 written, 0 failed\n");
    for (const wchar_t* name : names) {
      outputs[c] += ReadBytes(out + name) + "|";
      DeleteFileW((out + name).c_str());
    }
    EXPECT_EQ(Files(out).size(), 0u);
    EXPECT_TRUE(outputs[c] == outputs[0]);
  }
  EXPECT_EQ(outputs[0].find("(missing)"), std::string::npos);
}

// Two failures of different codes, and a folder the pattern matches too: the folder is
// not taken, and the run ends with the code of the first to fail in name order, however
// many pictures are worked on at once.
TEST_F(CommandLineHost, BatchEndsWithTheCodeOfTheFirstFailureInNameOrder) {
  const std::wstring out = folder + L"sub\\";
  ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
  ASSERT_TRUE(SUCCEEDED(WriteTwoPageTiff(folder + L"s_c.tif", TestPicture(4, 3, true), TestPicture(4, 3, true))));
  WriteBytes(folder + L"s_b.png", "not an image\n");
  Write(folder + L"s_a.png", TestPicture(9, 6, true));
  const std::string summary = "\nppihost: 1 written, 2 failed\n";
  for (const wchar_t* jobs : {L"1", L"2"}) {
    SCOPED_TRACE(Utf8(jobs));
    const HostResult r = RunHost({L"run", plugin, L"0", folder + L"s*", L"--out-dir", out, L"--format", L"png",
                                  L"--jobs", jobs});
    EXPECT_EQ(r.exitCode, 4u) << r.err;
    EXPECT_EQ(r.err.substr(r.err.size() - std::min(r.err.size(), summary.size())), summary);
    EXPECT_EQ(Files(out), std::set<std::wstring>{L"s_a.png"});
  }
}

// The written file reaches the disk before it replaces the output: the order of the
// platform calls, seen through this program's import table (the host's output file is
// linked into it).
std::vector<std::string>* fileCalls = nullptr;
template <class Fn>
Fn Kernel32(const char* name) {
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name)));
}
BOOL WINAPI LoggedWrite(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, LPOVERLAPPED overlapped) {
  fileCalls->push_back("write");
  return Kernel32<decltype(&WriteFile)>("WriteFile")(file, data, size, written, overlapped);
}
BOOL WINAPI LoggedFlush(HANDLE file) {
  fileCalls->push_back("flush");
  return Kernel32<decltype(&FlushFileBuffers)>("FlushFileBuffers")(file);
}
BOOL WINAPI LoggedClose(HANDLE handle) {
  fileCalls->push_back("close");
  return Kernel32<decltype(&CloseHandle)>("CloseHandle")(handle);
}
BOOL WINAPI LoggedMove(LPCWSTR from, LPCWSTR to, DWORD flags) {
  fileCalls->push_back("move");
  return Kernel32<decltype(&MoveFileExW)>("MoveFileExW")(from, to, flags);
}

TEST_F(CommandLineHost, OutputIsFlushedAndClosedBeforeItReplacesTheOld) {
  const std::wstring out = folder + L"out.png";
  WriteBytes(out, "old");
  OutputFile output(out);
  std::vector<std::string> calls;
  fileCalls = &calls;
  {
    const ImportHook hooks[] = {{"WriteFile", reinterpret_cast<void*>(&LoggedWrite)},
                                {"FlushFileBuffers", reinterpret_cast<void*>(&LoggedFlush)},
                                {"CloseHandle", reinterpret_cast<void*>(&LoggedClose)},
                                {"MoveFileExW", reinterpret_cast<void*>(&LoggedMove)},
                                {nullptr, nullptr}};
    const ImportPatches patches(GetModuleHandleW(nullptr), "kernel32.dll", hooks);
    output.Write({'n', 'e', 'w'});
  }
  fileCalls = nullptr;
  EXPECT_EQ(calls, (std::vector<std::string>{"write", "flush", "close", "move"}));
  EXPECT_EQ(ReadBytes(out), "new");
}

// A folder that lists its entries in an order of its own, as a FAT volume lists them
// as they were made (Wine sorts them), with a folder among them: what a pattern matches
// is the files, in the order of their names whatever their case.
struct Listing {
  std::vector<std::pair<std::wstring, DWORD>> entries;  // name, attributes
  size_t next = 0;
};
Listing* listing = nullptr;
BOOL WINAPI ListNext(HANDLE, LPWIN32_FIND_DATAW found) {
  if (listing->next == listing->entries.size()) return FALSE;
  *found = WIN32_FIND_DATAW{};
  const auto& [name, attributes] = listing->entries[listing->next++];
  found->dwFileAttributes = attributes;
  name.copy(found->cFileName, MAX_PATH - 1);
  return TRUE;
}
HANDLE WINAPI ListFirst(LPCWSTR, LPWIN32_FIND_DATAW found) {
  listing->next = 0;
  return ListNext(nullptr, found) ? reinterpret_cast<HANDLE>(listing) : INVALID_HANDLE_VALUE;
}
BOOL WINAPI ListClose(HANDLE) { return TRUE; }

TEST(InputPatterns, MatchFilesInNameOrderWhateverTheFolderLists) {
  Listing made{{{L"s_c.tif", FILE_ATTRIBUTE_ARCHIVE},
                {L"sub", FILE_ATTRIBUTE_DIRECTORY},
                {L"S_B.png", FILE_ATTRIBUTE_ARCHIVE},
                {L"s_a.png", FILE_ATTRIBUTE_ARCHIVE}}};
  listing = &made;
  const ImportHook hooks[] = {{"FindFirstFileW", reinterpret_cast<void*>(&ListFirst)},
                              {"FindNextFileW", reinterpret_cast<void*>(&ListNext)},
                              {"FindClose", reinterpret_cast<void*>(&ListClose)},
                              {nullptr, nullptr}};
  std::vector<std::wstring> inputs;
  {
    const ImportPatches patches(GetModuleHandleW(nullptr), "kernel32.dll", hooks);
    inputs = ExpandInputs({L"one.png", L"photos\\s*"});
  }
  listing = nullptr;
  EXPECT_EQ(inputs, (std::vector<std::wstring>{L"one.png", L"photos\\s_a.png", L"photos\\S_B.png",
                                               L"photos\\s_c.tif"}));
}

// A picture that could not fit even alone fails at once and is named; the others are
// written. One picture at a time is not held back, as ever.
TEST_F(CommandLineHost, PictureTooLargeForTheMemoryIsNamedAndTheRestWritten) {
  // ppihost takes the address space past the first 2 GB.
  const std::string exe = ReadBytes(ProgramFolderW() + L"ppihost.exe");
  ASSERT_GT(exe.size(), 0x400u);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(exe.data());
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(exe.data() + dos->e_lfanew);
  EXPECT_TRUE(nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);

  Write(folder + L"a.png", TestPicture(9, 6, true));
  Write(folder + L"b.png", TestPicture(200, 100, true));  // its pixels twice: 160 000 bytes
  Write(folder + L"c.png", TestPicture(7, 5, false));
  const std::wstring out = folder + L"sub\\";
  ASSERT_TRUE(CreateDirectoryW(out.c_str(), nullptr));
  const MemoryBudget budget(L"100000");
  const auto run = [&](const wchar_t* jobs) {
    return RunHost({L"run", plugin, L"post", folder + L"*.png", L"--out-dir", out, L"--jobs", jobs});
  };
  const HostResult r = run(L"2");
  EXPECT_EQ(r.exitCode, 4u);
  EXPECT_EQ(r.err, "ppihost: " + Utf8(folder) + "b.png is too large an image for the memory available\n"
                   "ppihost: 2 written, 1 failed\n");
  EXPECT_EQ(Files(out), (std::set<std::wstring>{L"a.png", L"c.png"}));
  const HostResult one = run(L"1");
  EXPECT_EQ(one.exitCode, 0u) << one.err;
  EXPECT_EQ(Files(out).size(), 3u);
}

struct DialogSearch {
  DWORD pid;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND w, LPARAM p) {
  auto* s = reinterpret_cast<DialogSearch*>(p);
  DWORD owner = 0;
  GetWindowThreadProcessId(w, &owner);
  wchar_t cls[16] = {};
  GetClassNameW(w, cls, 16);
  if (owner == s->pid && IsWindowVisible(w) && std::wstring(cls) == L"#32770") {
    s->found = w;
    return FALSE;
  }
  return TRUE;
}

TEST_F(CommandLineHost, CrashingPluginEndsTheRunWithOneLineAndNoOutput) {
  const HostResult r = RunFaultyPlugin(L"crash.ppi", L"crash");
  EXPECT_EQ(r.exitCode, 6u);
  // qemu-user hands Wine an access violation as an unknown trap, which Wine reports as
  // an illegal instruction: that code is taken only where x86 runs emulated.
  std::string code = "0xC0000005";
  const char* emulated = std::getenv("ZUZOVEZU_X86_EMULATED");
  if (emulated && *emulated == '1' && r.err.find("0xC000001D") != std::string::npos) {
    std::printf("x86 runs emulated: taking qemu's 0xC000001D for the access violation\n");
    code = "0xC000001D";
  }
  EXPECT_TRUE(OneLine(r.err, "ppihost: crashed with exception " + code + " in ", {"crash.ppi"}));
}

TEST_F(CommandLineHost, MessageBoxOutsideTheImportTableIsClosedInBatchMode) {
  // Of many pictures, on the worker thread that calls the plug-in.
  for (bool manyPictures : {false, true}) {
    const HostResult r = RunFaultyPlugin(L"faulty.ppi", L"hidden", manyPictures);
    EXPECT_EQ(r.exitCode, 1u);
    // 処理できません
    EXPECT_NE(r.err.find("Faulty: \xe5\x87\xa6\xe7\x90\x86\xe3\x81\xa7\xe3\x81\x8d\xe3\x81\xbe\xe3\x81\x9b\xe3\x82\x93"),
              std::string::npos) << r.err;
  }
}

// A plug-in with Shift-JIS names in the narrow functions, which reads a section whole
// and writes while it runs: --settings and --set reach it, and what it wrote one value
// at a time it reads back, with no file written.
// --set alone keeps the plug-in's writes from its own file (narrow.ini) as well.
TEST_F(CommandLineHost, NarrowProfileFunctionsAreRedirectedToo) {
  Write(folder + L"in.png", TestPicture(2, 1, true));
  ASSERT_TRUE(CopyFileW((ProgramFolderW() + L"faulty_plugin.dll").c_str(), (folder + L"narrow.ppi").c_str(), FALSE));
  WriteBytes(folder + L"given.ini", "[extra]\r\nvalue=9\r\n");
  const std::string given = Stamp(folder + L"given.ini");
  std::set<std::wstring> files = Files();
  files.insert(L"out.png");
  for (bool settingsFile : {true, false}) {
    SCOPED_TRACE(settingsFile ? "--settings and --set" : "--set alone");
    std::vector<std::wstring> args{L"run", folder + L"narrow.ppi", L"narrow", folder + L"in.png", folder + L"out.png",
                                   L"--set", L"\u8a2d\u5b9a.\u6bb5\u968e=42"};  // 設定.段階
    if (settingsFile) args.insert(args.end(), {L"--settings", folder + L"given.ini"});
    const HostResult r = RunHost(args);
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    EXPECT_EQ(r.err, "");
    const Pixel first = At(Read(folder + L"out.png"), 0, 0);
    EXPECT_EQ(first.b, 42);
    EXPECT_EQ(first.g, 43);
    EXPECT_EQ(first.r, settingsFile ? 9 : 0);
    EXPECT_EQ(Files(), files);
    EXPECT_EQ(Stamp(folder + L"given.ini"), given);
  }
}

TEST_F(CommandLineHost, OutputMayReplaceTheInput) {
  const Image source = TestPicture(9, 6, true);
  Write(folder + L"in.tif", source);
  const HostResult r = Run(L"post", folder + L"in.tif", folder + L"in.tif");
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(FirstDifference(Read(folder + L"in.tif"), Apply(source, PosterizeDefault)), "");
}

TEST_F(CommandLineHost, PaletteImagesKeepTheirTransparency) {
  // A PNG palette with entries of every alpha; a GIF with one transparent colour.
  const Image palette = TestPicture(9, 6, true);
  Image clear = TestPicture(9, 6, false);
  for (size_t i : {4, 10, 11, 30, 53}) {
    uint8_t* p = &clear.pixels[i * 4];
    p[0] = 12, p[1] = 34, p[2] = 56, p[3] = 0;
  }
  WritePalettePng(folder + L"palette.png", palette);
  WriteGif(folder + L"clear.gif", clear);
  const std::pair<const wchar_t*, const Image*> inputs[] = {{L"palette.png", &palette},
                                                            {L"clear.gif", &clear}};
  for (const auto& in : inputs) {
    SCOPED_TRACE(Utf8(in.first));
    const HostResult r = Run(L"cut", folder + in.first, folder + L"out.png");
    ASSERT_EQ(r.exitCode, 0u) << r.err;
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(FirstDifference(Read(folder + L"out.png"), Apply(*in.second, CutLowBitDefault)), "");
  }
}

TEST_F(CommandLineHost, NothingIsDroppedSilently) {
  // Only the first page of a TIFF could be filtered: the run is refused, in place or
  // not, before anything is written.
  const HRESULT written =
      WriteTwoPageTiff(folder + L"pages.tif", TestPicture(9, 6, true), TestPicture(5, 4, false));
  ASSERT_TRUE(SUCCEEDED(written)) << Utf8(SystemMessage(written));
  const std::string pages = ReadBytes(folder + L"pages.tif");
  const std::set<std::wstring> before = Files();
  for (const wchar_t* out : {L"pages.tif", L"out.tif", L"out.png"}) {
    SCOPED_TRACE(Utf8(out));
    const HostResult r = Run(L"post", folder + L"pages.tif", folder + out);
    EXPECT_EQ(r.exitCode, 2u) << r.err;
    EXPECT_TRUE(OneLine(r.err, "", {"pages.tif holds 2 frames", "frames 2 to 2 would be lost"}));
    EXPECT_EQ(Files(), before);
  }
  EXPECT_EQ(ReadBytes(folder + L"pages.tif"), pages);

  // 16 bits per channel written as 8: said in one line, and the run succeeds.
  const Image source = TestPicture(9, 6, true);
  Write16BitPng(folder + L"deep.png", source);
  const HostResult r = Run(L"0", folder + L"deep.png", folder + L"out.png");
  ASSERT_EQ(r.exitCode, 0u) << r.err;
  EXPECT_EQ(r.err, "ppihost: warning: " + Utf8(folder + L"deep.png") +
                       " has 16 bits per channel; " + Utf8(folder + L"out.png") +
                       " was written with 8\n");
  EXPECT_EQ(FirstDifference(Read(folder + L"out.png"), Apply(source, SolarizeDefault)), "");
}

TEST_F(CommandLineHost, FullDiskFailsAndKeepsTheOriginal) {
  const std::wstring disk = SmallDisk();
  if (disk.empty()) {
    GTEST_SKIP() << "no small disk to fill: CTest mounts one when run as root (host/small_disk.sh)";
  }
  const std::wstring dir = disk + L"full\\";
  ASSERT_TRUE(CreateDirectoryW(dir.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
  const Image source = TestPicture(64, 64, true);
  Write(dir + L"photo.png", source);
  Write(dir + L"photo.tif", source);
  const std::string png = ReadBytes(dir + L"photo.png"), tif = ReadBytes(dir + L"photo.tif");
  // Fills the disk to the last byte.
  {
    FileHandle filler(CreateFileW((dir + L"filler").c_str(), GENERIC_WRITE, 0, nullptr,
                                  CREATE_ALWAYS, 0, nullptr));
    ASSERT_TRUE(filler.Valid());
    const std::string block(4096, 'x');
    DWORD written;
    while (WriteFile(filler.Get(), block.data(), static_cast<DWORD>(block.size()), &written,
                     nullptr) &&
           written > 0) {
    }
  }
  const std::set<std::wstring> before = Files(dir);
  ASSERT_EQ(before.size(), 3u);

  const std::pair<const wchar_t*, const wchar_t*> runs[] = {
      {L"photo.tif", L"photo.tif"}, {L"photo.png", L"photo.png"},  // in place
      {L"photo.tif", L"new.tif"},   {L"photo.png", L"new.png"},    // to a new name
  };
  for (const auto& run : runs) {
    SCOPED_TRACE(Utf8(run.first) + " -> " + Utf8(run.second));
    const HostResult r = Run(L"post", dir + run.first, dir + run.second);
    EXPECT_EQ(r.exitCode, 5u) << r.err;
    const std::string says = "ppihost: cannot write " + Utf8(dir + run.second) + ": ";
    // The write itself met the full disk: the early check, which creates an empty
    // file, must not be what failed.
    EXPECT_TRUE(OneLine(r.err, says, {"(0x00000070)"}));
    EXPECT_EQ(Files(dir), before);  // no temporary file, no new file
  }
  EXPECT_EQ(ReadBytes(dir + L"photo.png"), png);
  EXPECT_EQ(ReadBytes(dir + L"photo.tif"), tif);
  for (const std::wstring& name : before) DeleteFileW((dir + name).c_str());
  RemoveDirectoryW(dir.c_str());
}

// What ppihost says of itself: --version the words of its version resource, as
// Windows reads them; --help and a bare call the usage, with exit codes 0 and 2.
TEST(HostFace, VersionFromTheResourceAndUsage) {
  const std::wstring exe = ProgramFolderW() + L"ppihost.exe";
  DWORD ignored = 0;
  std::vector<BYTE> data(GetFileVersionInfoSizeW(exe.c_str(), &ignored));
  ASSERT_TRUE(!data.empty() && GetFileVersionInfoW(exe.c_str(), 0, static_cast<DWORD>(data.size()), data.data()));
  const auto value = [&](const std::wstring& name) {
    void* p = nullptr;
    UINT length = 0;
    return VerQueryValueW(data.data(), name.c_str(), &p, &length) && p ? p : nullptr;
  };
  const auto text = [&](const wchar_t* name) {
    const void* p = value(std::wstring(L"\\StringFileInfo\\040904b0\\") + name);
    return p ? std::wstring(static_cast<const wchar_t*>(p)) : L"<no " + std::wstring(name) + L">";
  };
  const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value(L"\\"));
  ASSERT_TRUE(fixed);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(ZUZOVEZU_VERSION_MINOR, ZUZOVEZU_VERSION_MAJOR));
  EXPECT_EQ(fixed->dwProductVersionLS, MAKELONG(0, ZUZOVEZU_VERSION_PATCH));
  EXPECT_EQ(text(L"ProductVersion"), L"" ZUZOVEZU_VERSION_TEXT);
  EXPECT_EQ(text(L"LegalCopyright").rfind(L"Copyright (c) ", 0), 0u);

  const HostResult version = RunHost({L"--version"}), help = RunHost({L"--help"}), bare = RunHost({});
  EXPECT_EQ(version.exitCode, 0u);
  EXPECT_EQ(version.out + "|" + version.err,
            Utf8(text(L"ProductName") + L" " + text(L"ProductVersion") + L" - " + text(L"FileDescription") +
                 L"\n" + text(L"LegalCopyright") + L"\n|"));
  const std::string usage = Utf8(Usage()) + "\n";
  EXPECT_EQ(help.exitCode, 0u);
  EXPECT_EQ(help.out + "|" + help.err, usage + "|");
  EXPECT_EQ(bare.exitCode, 2u);
  EXPECT_EQ(bare.out + "|" + bare.err, "|" + usage);
}

TEST(ErrorText, ImagingAndSystemCodesReadAsWordsAndHex) {
  EXPECT_EQ(Utf8(SystemMessage(0x88982F80)),
            "the image's pixel format is not supported (0x88982F80)");
  EXPECT_EQ(Utf8(SystemMessage(0x88982F07)), "the image's format is unknown (0x88982F07)");
  // A system error, bare and wrapped as an HRESULT.
  const std::string diskFull = Utf8(SystemMessage(ERROR_DISK_FULL));
  EXPECT_EQ(diskFull.substr(diskFull.size() - 13), " (0x00000070)");
  EXPECT_GT(diskFull.size(), 14u);
  EXPECT_EQ(Utf8(SystemMessage(0x80070070)),
            diskFull.substr(0, diskFull.size() - 13) + " (0x80070070)");
}

// Presses `button` on any dialog the child process shows.
struct DialogPresser {
  int button;
  bool pressed = false;
  void operator()(DWORD pid) {
    DialogSearch search{pid, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) return;
    PostMessageW(search.found, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(search.found, button)));
    pressed = true;
  }
};

// Nobody is there to answer a dialog: setup ends at once instead of waiting forever.
TEST_F(CommandLineHost, SetupInBatchModeOpensNoDialog) {
  Write(folder + L"in.png", TestPicture(9, 6, true));
  DialogPresser ok{IDOK};
  const HostResult r = RunHost({L"setup", plugin, L"post", folder + L"in.png"}, std::ref(ok));
  ASSERT_FALSE(r.timedOut);
  EXPECT_FALSE(ok.pressed);
  EXPECT_EQ(r.exitCode, 2u);
  EXPECT_EQ(r.out, "");
  EXPECT_TRUE(OneLine(r.err, "", {"interactive"}));
  EXPECT_EQ(Files().count(L"zodederor.ini"), 0u);
}

// The dialog's buttons pressed by a thread timer from inside its modal loop.
DialogPresser* activePresser = nullptr;
void CALLBACK PressFromTimer(HWND, UINT, UINT_PTR, DWORD) {
  if (activePresser) (*activePresser)(GetCurrentProcessId());
}

// setup as from a terminal, run in this process.
int InteractiveSetup(const std::wstring& plugin, const std::wstring& input, DialogPresser& presser,
                     Arguments args = {}) {
  args.command = L"setup";
  args.positional = {plugin, L"post", input};
  activePresser = &presser;
  const UINT_PTR timer = SetTimer(nullptr, 0, 50, PressFromTimer);
  const int code = SetupCommand(args);
  KillTimer(nullptr, timer);
  activePresser = nullptr;
  return code;
}

TEST_F(CommandLineHost, SetupSaysWhetherTheDialogWasConfirmed) {
  Write(folder + L"in.png", TestPicture(9, 6, true));
  DialogPresser ok{IDOK};
  EXPECT_EQ(InteractiveSetup(plugin, folder + L"in.png", ok), 0);
  EXPECT_TRUE(ok.pressed);
  // A confirmed dialog saves its settings next to the plug-in.
  EXPECT_EQ(Files().count(L"zodederor.ini"), 1u);

  DialogPresser cancel{IDCANCEL};
  EXPECT_EQ(InteractiveSetup(plugin, folder + L"in.png", cancel), 1);
  EXPECT_TRUE(cancel.pressed);
}

// --settings FILE: the dialog starts from FILE with --set over it, and saves to FILE alone.
TEST_F(CommandLineHost, SetupWithSettingsSavesThatFileOnly) {
  Write(folder + L"in.png", TestPicture(9, 6, true));
  WriteSetting(L"Posterization", L"division", L"3");
  const std::wstring own = folder + L"zodederor.ini", mine = folder + L"mine.ini";
  const std::string ownStamp = Stamp(own);
  Arguments args;
  args.settings = mine;
  args.overrides = {{L"Posterization", L"division", L"5"}};
  DialogPresser ok{IDOK};
  EXPECT_EQ(InteractiveSetup(plugin, folder + L"in.png", ok, args), 0);
  EXPECT_EQ(GetPrivateProfileIntW(L"Posterization", L"division", 0, mine.c_str()), 5u);
  EXPECT_EQ(Stamp(own), ownStamp);
}

}  // namespace
