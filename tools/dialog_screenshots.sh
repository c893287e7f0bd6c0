#!/bin/bash
# Takes the README's pictures of the three dialogs under Xvfb and writes docs/*.png.
# Run ./tools/build.sh first.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/wine-session.sh"
mkdir -p "$root/docs"
"$root/tools/wine-run" "$root/build/win32/bin/dialog_screenshot.exe" "Z:${root//\//\\}\\docs"
for name in solarization posterization cut_low_bit; do
  python3 "$root/tools/bmp_to_png.py" "$root/docs/${name}_dialog.bmp" "$root/docs/${name}_dialog.png"
  rm "$root/docs/${name}_dialog.bmp"
done
