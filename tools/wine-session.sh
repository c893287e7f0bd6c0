# Sourced by the scripts that run Windows programs: gives them an X display (Xvfb when
# there is none) and a ready Wine prefix inside the build tree, and tears both down on exit.
# A script with a prefix of its own names it in session_prefix before sourcing this.
root=${root:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}
export WINEPREFIX="${session_prefix:-$root/build/wineprefix}"

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
  "$root/tools/wine-run" wineboot --init >/dev/null 2>&1 </dev/null
  # Xvfb runs no window manager: unmanaged windows spare Wine its two-second wait for
  # one whenever a window is hidden.
  "$root/tools/wine-run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
    >/dev/null 2>&1 </dev/null || true
fi
# One wineserver for the whole session keeps each program's start fast.
WINEPREFIX="$WINEPREFIX" wineserver -p >/dev/null 2>&1 </dev/null || true
"$root/tools/wine-run" wineboot -u >/dev/null 2>&1 </dev/null || true
