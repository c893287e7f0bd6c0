#!/bin/bash
# Builds the plug-in and times its filters on every row path this processor has under
# Wine, against the machine's limit measured in the same process (a streaming copy, an
# in-place pass) and msvcrt's memcpy; ends with a Markdown table for docs/performance.md
# (tools/row_bench.sh gives the rows' native figures):
#   tools/bench.sh [REPETITIONS] [--readme]   --readme also writes the table into docs/performance.md
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/tools/bench_options.sh"
bench_options tools/bench.sh "" "$@"
"$root/tools/bootstrap.sh"
source "$root/tools/x86_support.sh"
x86_bench_notice tools/bench.sh "$readme"
"$root/tools/build.sh" --plugin-only
source "$root/tools/wine-session.sh"
output=$(mktemp)
trap 'rm -f "$output"; session_cleanup' EXIT
"$root/tools/wine-run" "$root/build/win32/bench/filter_bench.exe" "${repetitions:-9}" \
  "./tools/bench.sh${repetitions:+ $repetitions}${readme:+ --readme}" | tee "$output"
# The table and the line before it that says where it was measured.
[[ -z "$readme" ]] || sed -n '/^Measured by/,$p' "$output" |
  python3 "$root/tools/readme_block.py" "$readme" performance
