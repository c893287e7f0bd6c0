#!/bin/bash
# Builds the release package dist/zuzovezu-VERSION.zip: the plug-in, a Japanese
# readme.txt in Shift-JIS with CRLF line ends (as Windows users' editors expect) and
# the licence.
#   tools/package.sh                      build, then package into dist/
#   tools/package.sh --plugin FILE --out DIR   package an already built plug-in
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
plugin="" out="$root/dist"
while (($#)); do
  case "$1" in
    --plugin) plugin=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    *) echo "usage: tools/package.sh [--plugin FILE] [--out DIR]" >&2; exit 2 ;;
  esac
done

if [[ -z "$plugin" ]]; then
  "$root/tools/bootstrap.sh"
  "$root/tools/build.sh" --plugin-only
  plugin="$root/dist/zuzovezu.ppi"
fi
version=$(sed -n 's/^project(zuzovezu VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
mkdir -p "$out"
out=$(cd "$out" && pwd)
zip="$out/zuzovezu-$version.zip"

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
cp "$plugin" "$stage/zuzovezu.ppi"
# Strict encoding: a character without a Shift-JIS form stops the build.
# The readme's @PROJECT_VERSION@ becomes the version.
python3 - "$root/packaging/readme.txt" "$stage/readme.txt" "$root/LICENSE" "$stage/LICENSE.txt" "$version" <<'PY'
import sys
pairs = [(sys.argv[1], sys.argv[2], "cp932"), (sys.argv[3], sys.argv[4], "ascii")]
for source, target, encoding in pairs:
    text = open(source, encoding="utf-8").read().replace("\r\n", "\n").replace("@PROJECT_VERSION@", sys.argv[5])
    open(target, "wb").write(text.replace("\n", "\r\n").encode(encoding))
PY
# The same sources give the same archive: fixed times, no extra attributes.
touch -d "$(git -C "$root" log -1 --format=%cI 2>/dev/null || echo 2026-01-01T00:00:00Z)" "$stage"/*
rm -f "$zip"
(cd "$stage" && TZ=UTC zip -q -X "$zip" zuzovezu.ppi readme.txt LICENSE.txt)
echo "$zip"
