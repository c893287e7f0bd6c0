// A host that loads plug-ins on demand: the module loaded, used and freed thousands of
// times in one process must leave no TLS slot, handle or memory behind.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "base/host_interface.h"
#include "support/plugin_library.h"

namespace {

constexpr int kCycles = 3000;
constexpr int kWarmUp = 50;  // the process's own first-use allocations settle
constexpr SIZE_T kPrivateBytesTolerance = 256 * 1024;

// The index the next TlsAlloc hands out: it grows with every slot left allocated.
DWORD NextTlsIndex() {
  const DWORD index = TlsAlloc();
  TlsFree(index);
  return index;
}

// The process's committed private memory (heaps, stacks, and any module's writable
// copies), summed over its address space; Wine leaves GetProcessMemoryInfo's
// PrivateUsage at 0.
SIZE_T PrivateBytes() {
  SIZE_T total = 0;
  MEMORY_BASIC_INFORMATION region;
  for (const BYTE* at = nullptr; VirtualQuery(at, &region, sizeof region) == sizeof region;
       at = static_cast<const BYTE*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
  }
  return total;
}

// The handle the system hands out next: Wine gives the lowest free one, so it grows
// with every handle left open.
HANDLE NextHandle() {
  const HANDLE h = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  CloseHandle(h);
  return h;
}

// One use as a host makes it: load, count the filters, run one over a few pixels, free.
void UseOnce(const std::string& path) {
  const HMODULE module = LoadLibraryA(path.c_str());
  ASSERT_NE(module, nullptr);
  const auto count = reinterpret_cast<PBF_FilterCountFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "PBF_FilterCount")));
  const auto execute = reinterpret_cast<PBF_ExecuteFn>(
      reinterpret_cast<void*>(GetProcAddress(module, "PBF_Execute")));
  ASSERT_TRUE(count && execute);
  EXPECT_EQ(count(), 3);
  uint8_t pixels[2 * 2 * 4] = {10, 20, 30, 255, 201, 100, 50, 255, 0, 0, 0, 0, 255, 255, 255, 255};
  const PixelRegion region{0, 0, 2, 2};
  execute(2, nullptr, pixels, pixels, 0, &region, 0, 2, 0, nullptr, 0);
  EXPECT_EQ(pixels[4], 200);  // Cut Low Bit's default clears one bit
  ASSERT_TRUE(FreeLibrary(module));
  // Nothing else holds it: the next use loads it afresh.
  ASSERT_EQ(GetModuleHandleA(path.c_str()), nullptr);
}

TEST(ReloadSoak, ThousandsOfLoadsLeaveNoTlsSlotHandleOrMemoryBehind) {
  // The built module itself, with no settings file beside it: the defaults apply.
  const std::string path = ProgramFolder() + "zuzovezu.ppi";
  for (int i = 0; i < kWarmUp; ++i) ASSERT_NO_FATAL_FAILURE(UseOnce(path));
  const DWORD tlsBefore = NextTlsIndex();
  const SIZE_T bytesBefore = PrivateBytes();
  const HANDLE handleBefore = NextHandle();
  for (int i = kWarmUp; i < kCycles; ++i) ASSERT_NO_FATAL_FAILURE(UseOnce(path)) << "use " << i;
  const DWORD tlsAfter = NextTlsIndex();
  const SIZE_T bytesAfter = PrivateBytes();
  const HANDLE handleAfter = NextHandle();
  std::printf("next TLS index %lu -> %lu, private bytes %lu -> %lu, next handle %p -> %p\n",
              tlsBefore, tlsAfter, static_cast<unsigned long>(bytesBefore),
              static_cast<unsigned long>(bytesAfter), handleBefore, handleAfter);
  EXPECT_EQ(tlsAfter, tlsBefore);
  EXPECT_LE(bytesAfter, bytesBefore + kPrivateBytesTolerance);
  EXPECT_EQ(handleAfter, handleBefore);
}

}  // namespace
