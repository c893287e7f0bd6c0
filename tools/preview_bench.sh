#!/bin/bash
# Times one redraw of the preview zoomed out to fit (a 6000 x 4000 picture) for each
# filter, and one at 1:1, with the processor's name:
#   tools/preview_bench.sh [REPETITIONS] [--readme]            the plug-in's 32-bit code
#                                                             under Wine
#   tools/preview_bench.sh --native [REPETITIONS] [--readme]   the same code built for this
#                                                             x86-64 Linux machine
#                                                             (optimised, no sanitizers)
# --readme also writes the figures into docs/performance.md, each form into its own block.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=""
[[ "${1:-}" == "--native" ]] && { native=1; shift; }
source "$root/tools/bench_options.sh"
bench_options tools/preview_bench.sh 21 "$@"
output=$(mktemp)
trap 'rm -f "$output"' EXIT
if [[ -n "$native" ]]; then
  cmake -S "$root" -B "$root/build/native-bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/native-bench" --target preview_bench -j "$(nproc)" -- --no-print-directory >/dev/null
  "$root/build/native-bench/preview_bench" "$repetitions" | tee "$output"
  block=preview-native
else
  "$root/tools/bootstrap.sh"
  source "$root/tools/x86_support.sh"
  x86_bench_notice tools/preview_bench.sh "$readme"
  "$root/tools/build.sh" --plugin-only
  source "$root/tools/wine-session.sh"
  trap 'rm -f "$output"; session_cleanup' EXIT
  "$root/tools/wine-run" "$root/build/win32/bench/preview_bench.exe" "$repetitions" | tee "$output"
  block=preview-wine
fi
[[ -z "$readme" ]] && exit 0
command="./tools/preview_bench.sh${native:+ --native} $repetitions --readme"
{ echo "Printed by \`$command\`, load average $(cut -d' ' -f1-3 /proc/loadavg) after the run:"
  echo
  echo '```'
  tr -d '\r' <"$output"
  echo '```'
} | python3 "$root/tools/readme_block.py" "$readme" "$block"
