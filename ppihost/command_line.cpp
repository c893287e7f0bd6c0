#include "ppihost/command_line.h"

#include <cwctype>

#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"
#include "ppihost/image_file.h"
#include "ppihost/version_info.h"
#include "ppihost/whole_number.h"

std::wstring Usage() {
  return L"usage: ppihost list PLUGIN [--keys]\n"
    L"       ppihost run PLUGIN FILTER INPUT OUTPUT [--region LEFT,TOP,RIGHT,BOTTOM] [--batch]\n"
    L"       ppihost run PLUGIN FILTER INPUT... --out-dir DIR [--format " + WrittenFormats(L"|", L"|") + L"]\n"
    L"                   [--jobs N] [--region ...] [--batch]\n"
    L"       ppihost setup PLUGIN FILTER INPUT\n"
    L"FILTER is an index or the beginning of an English filter name; images are PNG, BMP,\n"
    L"JPEG, TIFF or (input only) GIF, the output's format is chosen by its extension.\n"
    L"--batch (the default when standard input is not a terminal) prints the plug-in's\n"
    L"message boxes instead of showing them. Exit codes: 0 done, 1 the plug-in declined,\n"
    L"2 bad arguments, 3 plug-in, 4 input, 5 output, 6 crash, 130 interrupted.\n"
    L"With --out-dir each INPUT (a file, or a pattern such as photos\\*.jpg) is written\n"
    L"into DIR under its base name with the --format's extension (by default its own);\n"
    L"--jobs N (-j N) works on N pictures at once, by default one per processor. A picture\n"
    L"that fails is named and the rest go on; the exit code is that of the first to fail.\n"
    L"Settings, for run, setup and list --keys: --settings FILE makes the plug-in read FILE\n"
    L"instead of its own settings file (setup writes FILE); --set SECTION.KEY=VALUE, which\n"
    L"may be repeated, overrides one value for this run. list --keys shows the settings\n"
    L"each filter reads, with the values in effect.";
}

std::wstring VersionText() {
  return L"" PPIHOST_PRODUCT " " ZUZOVEZU_VERSION_TEXT " - " PPIHOST_DESCRIPTION "\n" PPIHOST_COPYRIGHT;
}

namespace {

// SECTION.KEY=VALUE: the name ends at the first =, the section at the last dot before it.
Setting ParseSetting(const std::wstring& text) {
  const size_t equals = text.find(L'=');
  const size_t dot = text.rfind(L'.', equals);
  if (equals == std::wstring::npos || dot == std::wstring::npos || dot == 0 || dot + 1 == equals) {
    throw HostError{kExitUsage, L"--set wants SECTION.KEY=VALUE, not \"" + text + L"\""};
  }
  return {text.substr(0, dot), text.substr(dot + 1, equals - dot - 1), text.substr(equals + 1)};
}

// The value of the option at argv[i], given as "NAME VALUE" or "NAME=VALUE"; i moves
// past it. Nothing when argv[i] is another option. Without a value the line says what
// the option `needs`.
std::optional<std::wstring> OptionValue(const std::wstring& name, int argc, wchar_t** argv, int& i,
                                        const wchar_t* needs = L"a value (see ppihost help)") {
  const std::wstring arg = argv[i];
  if (arg.rfind(name + L"=", 0) == 0) return arg.substr(name.size() + 1);
  if (arg != name) return std::nullopt;
  if (i + 1 >= argc) throw HostError{kExitUsage, name + L" needs " + needs};
  return std::wstring(argv[++i]);
}

// --region LEFT,TOP,RIGHT,BOTTOM: four whole numbers, whatever picture they meet.
RegionOption ParseRegion(const std::wstring& text) {
  int32_t v[4];
  size_t start = 0;
  for (int i = 0; i < 4; ++i) {
    const size_t comma = text.find(L',', start);
    const bool last = i == 3;
    if (last != (comma == std::wstring::npos) ||
        !ReadInt32(text.substr(start, last ? std::wstring::npos : comma - start), v[i])) {
      throw HostError{kExitUsage, L"--region wants four whole numbers LEFT,TOP,RIGHT,BOTTOM, not \"" +
                                      text + L"\""};
    }
    start = comma + 1;
  }
  return {{v[0], v[1], v[2], v[3]}, text};
}

// --jobs N: how many pictures are worked on at once.
int ParseJobs(const std::wstring& text) {
  int32_t jobs = 0;
  if (!ReadInt32(text, jobs) || jobs < 1 || jobs > kMaxJobs) {
    throw HostError{kExitUsage, L"--jobs wants a whole number from 1 to " + std::to_wstring(kMaxJobs) +
                                    L", not \"" + text + L"\""};
  }
  return jobs;
}

}  // namespace

Arguments ParseArguments(int argc, wchar_t** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--batch") {
      args.unattended = true;
    } else if (const auto region = OptionValue(L"--region", argc, argv, i, L"LEFT,TOP,RIGHT,BOTTOM")) {
      args.region = ParseRegion(*region);
    } else if (arg == L"--keys") {
      args.keys = true;
    } else if (const auto file = OptionValue(L"--settings", argc, argv, i)) {
      args.settings = *file;
    } else if (const auto setting = OptionValue(L"--set", argc, argv, i)) {
      args.overrides.push_back(ParseSetting(*setting));
    } else if (const auto folder = OptionValue(L"--out-dir", argc, argv, i)) {
      if (folder->empty()) throw HostError{kExitUsage, L"--out-dir needs a folder"};
      args.outDir = *folder;
    } else if (const auto format = OptionValue(L"--format", argc, argv, i)) {
      args.format = *format;
    } else if (auto jobs = OptionValue(L"--jobs", argc, argv, i)) {
      args.jobs = ParseJobs(*jobs);
    } else if (auto shortJobs = OptionValue(L"-j", argc, argv, i)) {
      args.jobs = ParseJobs(*shortJobs);
    } else if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
      args.command = L"help";
    } else if (arg == L"--version") {
      args.command = L"version";
    } else if (arg.size() > 1 && arg[0] == L'-' && !std::iswdigit(arg[1])) {
      throw HostError{kExitUsage, L"unknown option " + arg};
    } else if (args.command.empty()) {
      args.command = arg;
    } else {
      args.positional.push_back(arg);
    }
  }
  return args;
}

bool Fits(const PixelRegion& r, int32_t width, int32_t height) {
  return r.left >= 0 && r.top >= 0 && r.left <= r.right && r.top <= r.bottom && r.right <= width &&
         r.bottom <= height;
}

void ExpectPositional(const Arguments& args, size_t count) {
  if (args.positional.size() != count) {
    throw HostError{kExitUsage, L"wrong number of arguments for " + args.command + L" (see ppihost help)"};
  }
}
