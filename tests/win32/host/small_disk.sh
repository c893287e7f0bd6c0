#!/bin/sh
# small_disk.sh mount|umount DIR: a 1 MiB tmpfs at DIR for the host's full-disk test,
# which CTest mounts before the test program and unmounts after it, however it ended.
# Mounting needs root; otherwise nothing is mounted and the test says it was skipped.
set -u
dir=$2
case $1 in
mount)
  if mountpoint -q "$dir" 2>/dev/null; then umount "$dir"; fi
  if [ "$(id -u)" != 0 ]; then
    echo "not root: no small disk mounted, the full-disk test is skipped"
    exit 0
  fi
  mkdir -p "$dir"
  if ! mount -t tmpfs -o size=1m ppihost-small-disk "$dir"; then
    rmdir "$dir"
    echo "cannot mount a tmpfs: the full-disk test is skipped"
    exit 0
  fi
  # The test looks for this file, so a folder left by an earlier run is not taken
  # for the disk.
  : > "$dir/mounted"
  ;;
umount)
  if mountpoint -q "$dir" 2>/dev/null; then umount "$dir"; fi
  rmdir "$dir" 2>/dev/null
  exit 0
  ;;
esac
