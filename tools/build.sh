#!/bin/bash
# Builds the plug-in and the Windows programs (build/win32) and the native core tests
# (build/native, with AddressSanitizer and UndefinedBehaviorSanitizer). The plug-in is
# copied to dist/zuzovezu.ppi.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc 2>/dev/null || echo 2)

# CMake keeps the compiler of a tree's first configuration: a tree made with another
# compiler than the toolchain file names now (an older thread model) starts afresh.
toolchain="$root/cmake/toolchain-mingw-i686.cmake"
compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER \${TOOLCHAIN_PREFIX}\(.*\))$/\1/p' "$toolchain")
if compgen -G "$root/build/win32/CMakeFiles/*/CMakeCXXCompiler.cmake" >/dev/null &&
   ! grep -q "^set(CMAKE_CXX_COMPILER \".*$compiler\")" "$root"/build/win32/CMakeFiles/*/CMakeCXXCompiler.cmake; then
  rm -rf "$root/build/win32"
fi

cmake -S "$root" -B "$root/build/win32" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
cmake --build "$root/build/win32" -j "$jobs" -- --no-print-directory >/dev/null

if [[ "${1:-}" != "--plugin-only" ]]; then
  cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_CXX_FLAGS="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer" \
    >/dev/null
  cmake --build "$root/build/native" -j "$jobs" -- --no-print-directory >/dev/null
fi

mkdir -p "$root/dist"
cp "$root/build/win32/bin/zuzovezu.ppi" "$root/dist/zuzovezu.ppi"
