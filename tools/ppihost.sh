#!/bin/bash
# Runs the command-line host under Wine: tools/ppihost.sh list dist/zuzovezu.ppi
root=$(cd "$(dirname "$0")/.." && pwd)
exec "$root/tools/wine-run" "$root/build/win32/bin/ppihost.exe" "$@"
