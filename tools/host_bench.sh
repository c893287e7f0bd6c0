#!/bin/bash
# Times ppihost over many pictures under Wine: 200 PNG pictures of 1024 x 1024 run
# through Posterization in one call with --jobs 1 and --jobs 2, against one call per
# picture. Ends with a Markdown table for docs/performance.md:
#   tools/host_bench.sh [REPETITIONS] [--readme]   --readme also writes it into docs/performance.md
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/bench_options.sh"
bench_options tools/host_bench.sh 3 "$@"
command="tools/host_bench.sh${repetitions:+ $repetitions}${readme:+ --readme}"
"$root/tools/bootstrap.sh"
source "$root/tools/x86_support.sh"
x86_bench_notice tools/host_bench.sh "$readme"
"$root/tools/build.sh" --plugin-only
work_name=host-bench
source "$root/tools/host_session.sh"

pictures=200
mkdir "$work/in" "$work/out"

# A photograph's worth of detail: smooth colours with noise, which compresses as a
# photograph does rather than as flat colour.
python3 - "$work/in/p000.png" <<'PY'
import random, struct, sys, zlib
size = 1024
random.seed(1)
rows = bytearray()
for y in range(size):
    noise = random.randbytes(size * 3)
    row = bytearray(b"\0")
    for x in range(size):
        n = noise[3 * x] & 15
        row += bytes((((x >> 2) + n) & 255, ((y >> 2) + n) & 255, (((x + y) >> 3) + n) & 255))
    rows += row
def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
with open(sys.argv[1], "wb") as f:
    f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(bytes(rows), 6)) + chunk(b"IEND", b""))
PY
for i in $(seq 1 $((pictures - 1))); do cp "$work/in/p000.png" "$work/in/p$(printf %03d "$i").png"; done

now() { date +%s.%N; }
# Seconds since START, divided by COUNT.
since() { awk -v a="$1" -v b="$(now)" -v n="${2:-1}" 'BEGIN {print (b - a) / n}'; }
# The median of the arguments.
median() { printf '%s\n' "$@" | sort -g | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }

# Each repetition times the three runs in turn, so that a change in the machine's load
# (it may be shared) falls on all three alike.
load_before=$(cut -d ' ' -f 1-3 /proc/loadavg)
single=() jobs1=() jobs2=()
for _ in $(seq "$repetitions"); do
  # One call per picture, on ten of them.
  start=$(now)
  for i in $(seq -f %03g 0 9); do host run "$plugin" post "$(win "$work/in/p$i.png")" "$(win "$work/out/p$i.png")"; done
  single+=("$(since "$start" 10)")
  rm -f "$work/out"/*
  for jobs in 1 2; do
    start=$(now)
    host run "$plugin" post "$(win "$work/in")\\*.png" --out-dir "$(win "$work/out")" --jobs "$jobs" 2>/dev/null
    if ((jobs == 1)); then jobs1+=("$(since "$start")"); else jobs2+=("$(since "$start")"); fi
    written=$(ls "$work/out" | wc -l)
    [[ $written -eq $pictures ]] || { echo "host_bench: the batch wrote $written of $pictures pictures" >&2; exit 1; }
    rm -f "$work/out"/*
  done
done
declare -A batch=([1]=$(median "${jobs1[@]}") [2]=$(median "${jobs2[@]}"))

one=$(median "${single[@]}")
processor=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -n 1)
cores=$(nproc)
load_after=$(cut -d ' ' -f 1-3 /proc/loadavg)
report=$(mktemp)
{
  printf '\nMeasured by `%s` on %s (%s cores, 32-bit x86 run natively) under %s, load average %s before and %s after (medians of %s runs, %s PNG pictures of 1024 x 1024, Posterization):\n\n' \
    "$command" "$processor" "$cores" "$(wine --version)" "$load_before" "$load_after" \
    "$repetitions" "$pictures"
  echo "| Run | Pictures per second | Time per picture |"
  echo "|---|---|---|"
  awk -v t="$one" 'BEGIN {printf "| one call per picture | %.1f | %.0f ms |\n", 1 / t, t * 1000}'
  for jobs in 1 2; do
    awk -v t="${batch[$jobs]}" -v n="$pictures" -v j="$jobs" -v one="$one" \
      'BEGIN {printf "| one call, `--jobs %d` | %.1f | %.0f ms (%.2f of one call) |\n", j, n / t, t / n * 1000, t / n / one}'
  done
  awk -v a="${batch[1]}" -v b="${batch[2]}" 'BEGIN {printf "\n`--jobs 2` runs %.2f times the pictures per second of `--jobs 1`.\n", a / b}'
} | tee "$report"
[[ -z "$readme" ]] || sed -n '/^Measured by/,$p' "$report" | python3 "$root/tools/readme_block.py" "$readme" host-performance
rm -f "$report"
