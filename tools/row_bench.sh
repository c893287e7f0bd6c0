#!/bin/bash
# Builds the filters' rows natively (build/row-bench: optimised, no sanitizers) and times
# them on every path this processor has against the machine's limit and glibc's memcpy;
# ends with a Markdown table. These are the processor's own times even where 32-bit
# code runs only under an emulator (tools/bench.sh times the module itself under Wine):
#   tools/row_bench.sh [REPETITIONS] [--readme]   --readme also writes the table into docs/performance.md
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/bench_options.sh"
bench_options tools/row_bench.sh 21 "$@"
cmake -S "$root" -B "$root/build/row-bench" -DCMAKE_BUILD_TYPE=Release -DROW_BENCH=ON >/dev/null
cmake --build "$root/build/row-bench" --target row_bench -j "$(nproc 2>/dev/null || echo 2)" \
  -- --no-print-directory >/dev/null
output=$(mktemp)
trap 'rm -f "$output"' EXIT
"$root/build/row-bench/row_bench" "$repetitions" \
  "./tools/row_bench.sh $repetitions${readme:+ --readme}" | tee "$output"
[[ -z "$readme" ]] || python3 "$root/tools/readme_block.py" "$readme" row-performance < "$output"
