#!/bin/bash
# Takes the pictures of the three dialogs (and one zoomed out to fit) that the README
# and docs/dialogs.md show, under Xvfb, and writes docs/*.png.
# Run ./tools/build.sh first.
#
# The pictures are taken in a Wine prefix of their own, build/screenshot-wineprefix, set
# up to draw the dialogs as a Japanese Windows does: the templates' face "ＭＳ Ｐゴシック"
# is replaced by IPAPGothic, the proportional Japanese Gothic packaged by Debian that
# leaves the fewest labels cut (of IPAPGothic, IPAexGothic and VL PGothic), and the
# caption's buttons are drawn with Marlett (from fonts-wine). The tests' prefix keeps
# Wine's own fallback face.
# It prints each label that does not fit its rectangle, and writes that list, with the
# machine, into docs/dialogs.md's block for it.
#   tools/dialog_screenshots.sh                      docs/*.png and docs/dialogs.md
#   FACE=NAME tools/dialog_screenshots.sh FOLDER     another face, into FOLDER only
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
face=${FACE:-IPAPGothic}
folder=$(mkdir -p "${1:-$root/docs}" && cd "${1:-$root/docs}" && pwd)
readme=$([[ -z "${1:-}" ]] && echo "$root/docs/dialogs.md" || true)
"$root/tools/bootstrap.sh"
session_prefix="$root/build/screenshot-wineprefix"
source "$root/tools/wine-session.sh"

# Every face the dialog templates name.
faces=$(find "$root" -name '*.rc' -not -path "$root/build/*" -exec sed -n 's/^FONT [0-9]*, *"\(.*\)"/\1/p' {} + | sort -u)
while IFS= read -r template_face; do
  "$root/tools/wine-run" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v "$template_face" \
    /d "$face" /f >/dev/null 2>&1 </dev/null
done <<<"$faces"

# This Wine does not look in fonts-wine's folder: the prefix's own Fonts folder holds Marlett.
fonts="$WINEPREFIX/drive_c/windows/Fonts"
mkdir -p "$fonts"
cmp -s /usr/share/wine/fonts/marlett.ttf "$fonts/marlett.ttf" || cp /usr/share/wine/fonts/marlett.ttf "$fonts/"

clipped=$("$root/tools/wine-run" "$root/build/win32/bin/dialog_screenshot.exe" "Z:${folder//\//\\}" </dev/null)
[[ -z "$clipped" ]] || echo "$clipped"
for name in solarization posterization cut_low_bit posterization_fit; do
  python3 "$root/tools/bmp_to_png.py" "$folder/${name}_dialog.bmp" "$folder/${name}_dialog.png"
  rm "$folder/${name}_dialog.bmp"
done

if [[ -n "$readme" ]]; then
  python3 - "$face" "$(wine --version)" "$clipped" "$faces" <<'PY' |
import sys
face, wine, clipped, faces = sys.argv[1:5]
os_name = dict(l.rstrip("\n").split("=", 1) for l in open("/etc/os-release") if "=" in l)["PRETTY_NAME"].strip('"')
lines = [f"Taken by `tools/dialog_screenshots.sh` on {os_name} with {wine} under Xvfb, "
         f"{face} standing in for {', '.join(faces.splitlines())}. Labels that do not fit their rectangles:", ""]
lines += [f"- {line}" for line in clipped.splitlines()] or ["- none"]
print("\n".join(lines))
PY
  python3 "$root/tools/readme_block.py" "$readme" labels
fi
