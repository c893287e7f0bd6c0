#include "ppihost/command_line.h"

#include <cerrno>
#include <cwchar>
#include <cwctype>
#include <limits>

#include "ppihost/exit_codes.h"
#include "ppihost/host_error.h"

const wchar_t kUsage[] =
    L"usage: ppihost list PLUGIN\n"
    L"       ppihost run PLUGIN FILTER INPUT OUTPUT [--region LEFT,TOP,RIGHT,BOTTOM] [--batch]\n"
    L"       ppihost run PLUGIN FILTER INPUT... --out-dir DIR [--format png|bmp|jpeg|tiff]\n"
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
    L"that fails is named and the rest go on; the exit code is that of the first to fail.";

namespace {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool ReadInt32(const std::wstring& text, int32_t& value) {
  if (text.empty()) return false;
  wchar_t* end = nullptr;
  errno = 0;
  const long long v = std::wcstoll(text.c_str(), &end, 10);
  if (errno != 0 || *end != L'\0' || std::iswspace(text[0])) return false;
  if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max()) return false;
  value = static_cast<int32_t>(v);
  return true;
}

// The value of option `name` given as "NAME VALUE" or "NAME=VALUE" at argv[i], which
// moves past it; false when argv[i] is another argument.
bool OptionValue(const wchar_t* name, int argc, wchar_t** argv, int& i, std::wstring& value) {
  const std::wstring arg = argv[i], option = name;
  if (arg.rfind(option + L"=", 0) == 0) {
    value = arg.substr(option.size() + 1);
    return true;
  }
  if (arg != option) return false;
  if (i + 1 >= argc) throw HostError{kExitUsage, option + L" needs a value (see ppihost help)"};
  value = argv[++i];
  return true;
}

}  // namespace

Arguments ParseArguments(int argc, wchar_t** argv) {
  Arguments args;
  for (int i = 1; i < argc; ++i) {
    const std::wstring arg = argv[i];
    if (arg == L"--batch") {
      args.batch = true;
    } else if (arg == L"--region") {
      if (i + 1 >= argc) throw HostError{kExitUsage, L"--region needs LEFT,TOP,RIGHT,BOTTOM"};
      args.region = argv[++i];
    } else if (arg.rfind(L"--region=", 0) == 0) {
      args.region = arg.substr(9);
    } else if (std::wstring value; OptionValue(L"--out-dir", argc, argv, i, value)) {
      if (value.empty()) throw HostError{kExitUsage, L"--out-dir needs a folder"};
      args.outDir = value;
    } else if (OptionValue(L"--format", argc, argv, i, value)) {
      args.format = value;
    } else if (OptionValue(L"--jobs", argc, argv, i, value) || OptionValue(L"-j", argc, argv, i, value)) {
      int32_t jobs = 0;
      if (!ReadInt32(value, jobs) || jobs < 1 || jobs > kMaxJobs) {
        throw HostError{kExitUsage, L"--jobs wants a whole number from 1 to " +
                                        std::to_wstring(kMaxJobs) + L", not \"" + value + L"\""};
      }
      args.jobs = jobs;
    } else if (arg == L"--help" || arg == L"-h" || arg == L"/?") {
      args.command = L"help";
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

PixelRegion ParseRegion(const std::wstring& text, int32_t width, int32_t height) {
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
  const PixelRegion r{v[0], v[1], v[2], v[3]};
  if (r.left < 0 || r.top < 0 || r.left > r.right || r.top > r.bottom || r.right > width ||
      r.bottom > height) {
    throw HostError{kExitUsage, L"region " + text + L" is not inside the " + std::to_wstring(width) +
                                    L"x" + std::to_wstring(height) + L" image"};
  }
  return r;
}

const FilterEntry& ChooseFilter(const std::vector<FilterEntry>& filters, const std::wstring& choice) {
  int32_t index;
  if (ReadInt32(choice, index)) {
    for (const FilterEntry& f : filters) {
      if (f.index == index) return f;
    }
    throw HostError{kExitUsage, L"no filter " + choice + L": the plug-in has " +
                                    std::to_wstring(filters.size()) + L" (see ppihost list)"};
  }
  const std::wstring wanted = Lower(choice);
  std::vector<const FilterEntry*> matches;
  for (const FilterEntry& f : filters) {
    const std::wstring english = Lower(EnglishForm(f.name));
    if (wanted.empty() || english.rfind(wanted, 0) != 0) continue;
    // "Solarization" names "Solarization..." exactly.
    const size_t dots = english.find_last_not_of(L'.');
    if (english == wanted || english.substr(0, dots + 1) == wanted) return f;
    matches.push_back(&f);
  }
  if (matches.size() == 1) return *matches.front();
  if (matches.empty()) throw HostError{kExitUsage, L"no filter named " + choice + L" (see ppihost list)"};
  std::wstring names;
  for (const FilterEntry* f : matches) names += (names.empty() ? L"" : L", ") + EnglishForm(f->name);
  throw HostError{kExitUsage, L"filter " + choice + L" is ambiguous: " + names};
}

void ExpectPositional(const Arguments& args, size_t count) {
  if (args.positional.size() != count) {
    throw HostError{kExitUsage, L"wrong number of arguments for " + args.command + L" (see ppihost help)"};
  }
}
