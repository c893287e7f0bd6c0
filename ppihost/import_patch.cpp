#include "ppihost/import_patch.h"

#include <cstring>

void* PatchImport(HMODULE module, const char* dllName, const char* functionName, void* target) {
  auto* base = reinterpret_cast<BYTE*>(module);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (dir.VirtualAddress == 0) return nullptr;
  for (auto* desc = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress);
       desc->Name != 0; ++desc) {
    if (_stricmp(reinterpret_cast<char*>(base + desc->Name), dllName) != 0) continue;
    // Without a name table the bound slots cannot be told apart.
    if (desc->OriginalFirstThunk == 0) continue;
    auto* names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->OriginalFirstThunk);
    auto* slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + desc->FirstThunk);
    for (; names->u1.AddressOfData != 0; ++names, ++slots) {
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
      auto* byName = reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
      if (std::strcmp(reinterpret_cast<char*>(byName->Name), functionName) != 0) continue;
      DWORD old;
      if (!VirtualProtect(&slots->u1.Function, sizeof(void*), PAGE_READWRITE, &old)) return nullptr;
      void* previous = reinterpret_cast<void*>(slots->u1.Function);
      slots->u1.Function = reinterpret_cast<ULONG_PTR>(target);
      VirtualProtect(&slots->u1.Function, sizeof(void*), old, &old);
      return previous;
    }
  }
  return nullptr;
}

ImportPatches::ImportPatches(HMODULE module, const char* dllName, const ImportHook* hooks)
    : module(module), dllName(dllName) {
  for (; hooks->name; ++hooks) {
    if (void* original = PatchImport(module, dllName, hooks->name, hooks->target)) {
      originals.push_back({hooks->name, original});
    }
  }
}

ImportPatches::~ImportPatches() {
  for (const auto& [name, original] : originals) PatchImport(module, dllName, name, original);
}
