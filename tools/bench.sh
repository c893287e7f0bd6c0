#!/bin/bash
# Builds the plug-in and times its filters against memcpy under Wine:
#   tools/bench.sh [REPETITIONS]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh" --plugin-only
source "$root/tools/wine-session.sh"
"$root/tools/wine-run" "$root/build/win32/bin/filter_bench.exe" \
  "Z:${root//\//\\}\\dist\\zuzovezu.ppi" "${1:-9}"
