#!/bin/bash
# Times one redraw of the preview zoomed out to fit (a 6000 x 4000 picture) for each
# filter, and one at 1:1, with the processor's name:
#   tools/preview_bench.sh [REPETITIONS]            the plug-in's 32-bit code under Wine
#   tools/preview_bench.sh --native [REPETITIONS]   the same code built for this x86-64
#                                                   Linux machine (optimised, no sanitizers)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
native=""
[[ "${1:-}" == "--native" ]] && { native=1; shift; }
source "$root/tools/bench_options.sh"
bench_options tools/preview_bench.sh 21 "$@"
[[ -z "$readme" ]] || { echo "tools/preview_bench.sh: --readme is not offered; docs/performance.md quotes a native run" >&2; exit 2; }
if [[ -n "$native" ]]; then
  cmake -S "$root" -B "$root/build/native-bench" -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$root/build/native-bench" --target preview_bench -j "$(nproc)" -- --no-print-directory >/dev/null
  exec "$root/build/native-bench/preview_bench" "$repetitions"
fi
"$root/tools/bootstrap.sh"
source "$root/tools/x86_support.sh"
x86_bench_notice tools/preview_bench.sh ""
"$root/tools/build.sh" --plugin-only
source "$root/tools/wine-session.sh"
trap session_cleanup EXIT
"$root/tools/wine-run" "$root/build/win32/bench/preview_bench.exe" "$repetitions"
