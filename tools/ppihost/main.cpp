// ppihost: loads a .ppi filter plug-in the way the paint application does and lists
// its filters.
#include <windows.h>

#include <cstdio>
#include <cstdint>
#include <string>

namespace {

using FilterCountFn = int32_t(WINAPI*)();
using GetNameFn = char*(WINAPI*)(int32_t, char*, int32_t, char*, int32_t);

// The plug-in's texts are code page 932; the terminal wants UTF-8.
std::string Cp932ToUtf8(const char* text) {
  const int wide = MultiByteToWideChar(932, 0, text, -1, nullptr, 0);
  if (wide <= 0) return text;
  std::wstring w(static_cast<size_t>(wide), L'\0');
  MultiByteToWideChar(932, 0, text, -1, &w[0], wide);
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_UTF8, 0, w.c_str(), -1, &out[0], bytes, nullptr, nullptr);
  out.resize(static_cast<size_t>(bytes) - 1);
  return out;
}

int List(const char* pluginPath) {
  HMODULE plugin = LoadLibraryA(pluginPath);
  if (!plugin) {
    std::fprintf(stderr, "ppihost: cannot load %s\n", pluginPath);
    return 1;
  }
  auto count = reinterpret_cast<FilterCountFn>(reinterpret_cast<void*>(GetProcAddress(plugin, "PBF_FilterCount")));
  auto getName = reinterpret_cast<GetNameFn>(reinterpret_cast<void*>(GetProcAddress(plugin, "PBF_GetName")));
  if (!count || !getName) {
    std::fprintf(stderr, "ppihost: %s is not a filter plug-in\n", pluginPath);
    FreeLibrary(plugin);
    return 1;
  }
  const int32_t n = count();
  for (int32_t i = 0; i < n; ++i) {
    char category[256] = {}, name[256] = {};
    getName(i, category, sizeof category - 1, name, sizeof name - 1);
    std::printf("%d  %s  %s\n", i, Cp932ToUtf8(category).c_str(), Cp932ToUtf8(name).c_str());
  }
  FreeLibrary(plugin);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "list") return List(argv[2]);
  std::fprintf(stderr, "usage: ppihost list PLUGIN\n");
  return 2;
}
