#!/bin/bash
# The main job: sets up the machine, builds the plug-in and runs it the way the host does.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/bootstrap.sh"
"$root/tools/build.sh" --plugin-only
source "$root/tools/wine-session.sh"
echo "Built $root/dist/zuzovezu.ppi; its filters:"
"$root/tools/ppihost.sh" list "$root/dist/zuzovezu.ppi"
