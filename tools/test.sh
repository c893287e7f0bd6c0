#!/bin/bash
# Builds everything and runs every test: the native core tests under the sanitizers and
# the Windows tests of the real plug-in under Wine, in one CTest run. Arguments go to
# CTest:  tools/test.sh -R posterization
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh"
source "$root/tools/wine-session.sh"

# One CTest run over both build trees, so that one summary line closes the output.
cat > "$root/build/CTestTestfile.cmake" <<CTEST
subdirs("native")
subdirs("win32")
CTEST
cd "$root/build"
ctest -j1 --output-on-failure --timeout 600 "$@" </dev/null
