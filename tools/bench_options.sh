# Sourced by the benchmarks, which take the same arguments: [REPETITIONS] [--readme].
# bench_options SCRIPT DEFAULT_REPETITIONS "$@" sets $repetitions and $readme (the path
# of docs/performance.md, which holds the benchmarks' blocks, when the figures are to be
# written into it, else empty).
bench_options() {
  local script=$1 arg
  repetitions=$2 readme=""
  shift 2
  for arg in "$@"; do
    case "$arg" in
      --readme) readme="$root/docs/performance.md" ;;
      [0-9]*) repetitions=$arg ;;
      *) echo "usage: $script [REPETITIONS] [--readme]" >&2; exit 2 ;;
    esac
  done
}
