#!/bin/bash
# Builds the plug-in and the Windows programs (build/win32) and the native core tests
# (build/native, with AddressSanitizer and UndefinedBehaviorSanitizer). The plug-in is
# copied to dist/zuzovezu.ppi.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-mingw-i686.cmake" >/dev/null
cmake --build "$root/build/win32" -j "$jobs" -- --no-print-directory >/dev/null

if [[ "${1:-}" != "--plugin-only" ]]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    >/dev/null
  cmake --build "$root/build/native" -j "$jobs" -- --no-print-directory >/dev/null
fi

mkdir -p "$root/dist"
cp "$root/build/win32/bin/zuzovezu.ppi" "$root/dist/zuzovezu.ppi"
