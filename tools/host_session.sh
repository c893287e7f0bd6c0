# Sourced by the scripts that run ppihost over pictures they make (host_bench.sh,
# large_batch.sh), after the build: a Wine session, a work folder in the build tree
# that goes on exit, and the host and the plug-in as Windows names them. The script
# names its folder in work_name before sourcing this.
source "$root/tools/wine-session.sh"
work=$(mktemp -d "$root/build/$work_name.XXXXXX")
trap 'rm -rf "$work"; session_cleanup' EXIT
win() { echo "Z:${1//\//\\}"; }  # a Linux path on Wine's drive Z:
host() { "$root/tools/wine-run" "$root/build/win32/bin/ppihost.exe" "$@" </dev/null; }
plugin=$(win "$root/build/win32/bin/zuzovezu.ppi")
