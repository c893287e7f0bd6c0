#!/bin/bash
# Takes the README's pictures of the Posterization and Cut Low Bit dialogs under Xvfb:
# runs their tests' disabled Screenshot cases on the built programs and writes
# docs/*.png. Run ./tools/build.sh first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-session.sh"
mkdir -p "$root/docs"
export SCREENSHOT_DIR="Z:${root//\//\\}\\docs"
for name in posterization cut_low_bit; do
  "$root/tools/wine-run" "$root/build/win32/bin/win32_${name}_dialog.exe" \
    --gtest_also_run_disabled_tests --gtest_filter='*DISABLED_Screenshot' >/dev/null
  python3 "$root/tools/bmp_to_png.py" "$root/docs/${name}_dialog.bmp" "$root/docs/${name}_dialog.png"
  rm "$root/docs/${name}_dialog.bmp"
done
