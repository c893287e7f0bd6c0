#!/bin/bash
# Builds the plug-in and times its filters on every row path this processor has, against
# memcpy, under Wine; ends with a Markdown table for the README's Performance section:
#   tools/bench.sh [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh" --plugin-only
source "$root/tools/wine-session.sh"
"$root/tools/wine-run" "$root/build/win32/bench/filter_bench.exe" "${1:-9}" \
  "./tools/bench.sh${1:+ $1}"
