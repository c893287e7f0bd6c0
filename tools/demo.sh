#!/bin/bash
# The main job: sets up the machine, builds the plug-in and the command-line host, and
# runs each filter of the plug-in over the sample picture the way the host does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh" --plugin-only
source "$root/tools/wine-session.sh"

plugin="$root/dist/zuzovezu.ppi"
sample="$root/samples/gradient.png"
out="$root/build/demo"
mkdir -p "$out"

echo "Built $plugin; its filters:"
"$root/tools/ppihost.sh" list "$plugin"
echo
echo "Running each filter over $sample (settings: $root/dist/zodederor.ini, defaults when absent):"
for filter in solarization posterization cut-low-bit; do
  # The host takes the beginning of a filter's English name.
  "$root/tools/ppihost.sh" run "$plugin" "${filter//-/ }" "$sample" "$out/$filter.png" </dev/null
  echo "  $out/$filter.png"
done
