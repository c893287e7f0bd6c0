# Sourced by the benchmarks, which take the same arguments: [REPETITIONS] [--readme].
# bench_options SCRIPT DEFAULT_REPETITIONS "$@" sets $repetitions and $readme (the
# README's path when the figures are to be written into it, else empty).
bench_options() {
  local script=$1 arg
  repetitions=$2 readme=""
  shift 2
  for arg in "$@"; do
    case "$arg" in
      --readme) readme="$root/README.md" ;;
      [0-9]*) repetitions=$arg ;;
      *) echo "usage: $script [REPETITIONS] [--readme]" >&2; exit 2 ;;
    esac
  done
}
