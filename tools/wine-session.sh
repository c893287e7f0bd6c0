# Sourced by the scripts that run Windows programs: gives them an X display (Xvfb when
# there is none) and a ready Wine prefix inside the build tree, and tears both down on exit.
# A script with a prefix of its own names it in session_prefix before sourcing this.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="${session_prefix:-$root/build/wineprefix}"

# The i386 Wine loader is a 32-bit x86 program. Where it runs under an emulator, the
# tests are told (ZUZOVEZU_X86_EMULATED=1), for the few things an emulator does
# otherwise, and the benchmarks, whose times are then the emulator's.
source "$root/tools/x86_support.sh"
if ! x86_probe any; then
  echo "wine-session: this machine runs no 32-bit x86 programs (Exec format error), so Wine cannot start; run tools/bootstrap.sh as root, which has them emulated" >&2
  exit 1
fi
if [[ -n $(x86_emulator_registration) ]]; then
  export ZUZOVEZU_X86_EMULATED=1
else
  unset ZUZOVEZU_X86_EMULATED
fi

session_cleanup() {
  WINEPREFIX="$WINEPREFIX" wineserver -k >/dev/null 2>&1 || true
  [[ -n "${xvfb_pid:-}" ]] && kill "$xvfb_pid" >/dev/null 2>&1 || true
}
trap session_cleanup EXIT

if [[ -z "${DISPLAY:-}" ]]; then
  for n in $(seq 90 140); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 100); do
      [[ -e /tmp/.X11-unix/X$n ]] && break
      sleep 0.1
    done
    if [[ -e /tmp/.X11-unix/X$n ]]; then export DISPLAY=":$n"; break; fi
    kill "$xvfb_pid" >/dev/null 2>&1 || true
    unset xvfb_pid
  done
  [[ -n "${DISPLAY:-}" ]] || { echo "wine-session: could not start Xvfb" >&2; exit 1; }
fi

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  echo "wine-session: creating the Wine prefix in $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  boot_log="$WINEPREFIX.log"
  boot_status=0
  "$root/tools/wine-run" wineboot --init >"$boot_log" 2>&1 </dev/null || boot_status=$?
  # The registry reaches the disk when the wineserver ends, a while after wineboot.
  WINEPREFIX="$WINEPREFIX" wineserver -w >/dev/null 2>&1 </dev/null || true
  if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
    echo "wine-session: wineboot made no prefix (exit status $boot_status); its last words, from $boot_log:" >&2
    tail -n 5 "$boot_log" >&2
    exit 1
  fi
  # Xvfb runs no window manager: unmanaged windows spare Wine its two-second wait for
  # one whenever a window is hidden.
  "$root/tools/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 </dev/null || true
fi
# A program that crashes ends at once instead of waiting on Wine's crash dialog, which
# nobody is there to close.
if ! grep -qs '"ShowCrashDialog"=dword:00000000' "$WINEPREFIX/user.reg"; then
  "$root/tools/wine-run" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
    >/dev/null 2>&1 </dev/null || true
fi
# One wineserver for the whole session keeps each program's start fast.
WINEPREFIX="$WINEPREFIX" wineserver -p >/dev/null 2>&1 </dev/null || true
if ! "$root/tools/wine-run" wineboot -u >/dev/null 2>&1 </dev/null; then
  echo "wine-session: Windows programs do not run in $WINEPREFIX (try removing it)" >&2
  exit 1
fi
