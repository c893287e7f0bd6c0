#!/bin/bash
# Posterizes three 9000 x 9000 scans (smooth 2 MB PNGs) in one call, the ways a user
# would: --jobs 1, the default, --jobs 2 and --jobs 3 to BMP, and the default to PNG.
# Every run must write all three, byte for byte as --jobs 1 does, and exit 0. Then a
# batch that mixes them with a 30000 x 20000 picture, which cannot fit even alone, must
# write the scans and name that one. Takes minutes (far more under an emulator), so it
# is no part of the tests:   tools/large_batch.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/build.sh" --plugin-only
work_name=large-batch
source "$root/tools/host_session.sh"
mkdir "$work/scans" "$work/huge"

# An RGB PNG of smooth gradients, written a row at a time.
make_png() {
  python3 - "$@" <<'PY'
import struct, sys, zlib
width, height, seed, path = int(sys.argv[1]), int(sys.argv[2]), int(sys.argv[3]), sys.argv[4]
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
packer = zlib.compressobj(6)
with open(path, "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
    red = bytes(x * 255 // (width - 1) for x in range(width))
    pending = b""
    for y in range(height):
        row = bytearray(3 * width)
        row[0::3] = red
        row[1::3] = bytes([(y * 255 // (height - 1) + seed * 40) & 255]) * width
        row[2::3] = bytes([((y // 64) * 7 + seed * 17) & 255]) * width
        pending += packer.compress(b"\0" + bytes(row))
        if len(pending) > 1 << 20:
            f.write(chunk(b"IDAT", pending))
            pending = b""
    f.write(chunk(b"IDAT", pending + packer.flush()) + chunk(b"IEND", b""))
PY
}
for i in 0 1 2; do make_png 9000 9000 "$i" "$work/scans/b$i.png"; done
cp "$work/scans"/*.png "$work/huge/"
make_png 30000 20000 3 "$work/huge/huge.png"

failures=0
# run NAME INPUT-FOLDER OPTIONS...: one call into $work/NAME; prints its row.
run() {
  local name=$1 inputs=$2
  shift 2
  mkdir "$work/$name"
  local status=0
  host run "$plugin" post "$(win "$work/$inputs")\\*.png" --out-dir "$(win "$work/$name")" "$@" \
    2>"$work/$name.err" || status=$?
  echo "$status" >"$work/$name.status"
  echo "| $* | exit $status | $(tail -n 1 "$work/$name.err" | tr -d '\r') |"
  sed '$d' "$work/$name.err" | sed 's/^/    /'
}
# same NAME REFERENCE [EXIT]: NAME ended with EXIT (0) and wrote what REFERENCE wrote,
# byte for byte.
same() {
  [[ $(cat "$work/$1.status") == "${3:-0}" ]] || { echo "    $1 ended with exit $(cat "$work/$1.status")" >&2; failures=$((failures + 1)); }
  for file in "$work/$2"/*; do
    cmp -s "$file" "$work/$1/$(basename "$file")" || { echo "    $1/$(basename "$file") differs" >&2; failures=$((failures + 1)); }
  done
}
run jobs1 scans --format bmp --jobs 1
run default scans --format bmp
run jobs2 scans --format bmp --jobs 2
run jobs3 scans --format bmp --jobs 3
run png1 scans --format png --jobs 1
run png scans --format png
for name in default jobs2 jobs3; do same "$name" jobs1; done
same png png1
run mixed huge --format bmp
same mixed jobs1 "$(cat "$work/mixed.status")"
[[ $(cat "$work/mixed.status") != 0 ]] || { echo "    the mixed batch ended with exit 0" >&2; failures=$((failures + 1)); }
grep -q 'huge.png' "$work/mixed.err" || { echo "    the too-large picture was not named" >&2; failures=$((failures + 1)); }
((failures == 0)) && echo "large_batch: every scan written as --jobs 1 writes it" || exit 1
