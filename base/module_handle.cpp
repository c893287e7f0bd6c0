#include "base/module_handle.h"

// The linker's symbol at the image's first byte, its DOS header: the handle of the
// module this code is linked into, known without asking the loader.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace {
HMODULE named = nullptr;
}  // namespace

HMODULE ModuleHandle() { return named ? named : reinterpret_cast<HMODULE>(&__ImageBase); }

void UseModuleHandle(HMODULE module) { named = module; }
