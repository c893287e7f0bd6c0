#!/bin/bash
# Installs what building and testing need on Debian 12, as root. Idempotent and quiet
# when everything is already there.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

# fonts-ipafont-gothic gives Wine its Japanese faces; fonts-wine the Marlett of the
# dialogs' pictures' caption buttons (tools/dialog_screenshots.sh).
packages=(cmake make g++ libgtest-dev g++-mingw-w64-i686-win32 binutils-mingw-w64-i686
          wine wine32:i386 xvfb xauth fonts-ipafont-gothic fonts-wine locales python3 zip unzip)

missing=()
for p in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "bootstrap: missing packages (${missing[*]}); run this as root" >&2
    exit 1
  fi
  echo "bootstrap: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || dpkg --add-architecture i386
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine maps Shift-JIS file names only under a Japanese locale.
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "bootstrap: the ja_JP.UTF-8 locale is missing; run this as root" >&2
    exit 1
  fi
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# Has binfmt_misc start every i386 program under qemu-i386; $1 says why.
emulate_x86() {
  local why=$1 version suite mirror interpreter entry="$binfmt_dir/$x86_registration"
  if [[ $(id -u) -ne 0 ]]; then
    # Registered by root already (it lasts until the next boot).
    [[ -n $(x86_emulator_registration) ]] && x86_probe any && return 0
    echo "bootstrap: $why, and only root can have 32-bit x86 programs emulated: run tools/bootstrap.sh as root (once after each boot)" >&2
    exit 1
  fi
  # qemu-user 10 or later: older ones ignore MAP_FIXED_NOREPLACE, which turns Wine's
  # reservation of the address space into some 65,000 mmap calls per process.
  version=$(dpkg-query -W -f='${Status} ${Version}' qemu-user 2>/dev/null || true)
  if [[ $version != "install ok installed "* ]] || dpkg --compare-versions "${version##* }" lt 1:10; then
    suite="$(. /etc/os-release && echo "$VERSION_CODENAME")-backports"
    if ! grep -rqs -- "$suite" /etc/apt/sources.list /etc/apt/sources.list.d/; then
      # The backports of the mirror that serves the release; apt takes nothing from
      # them unless asked by name, as below.
      mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' |
               awk -v release="${suite%-backports}" '$2 == release { print $1; exit }')
      printf 'Types: deb\nURIs: %s\nSuites: %s\nComponents: main\nSigned-By: %s\n' \
        "${mirror:-http://deb.debian.org/debian/}" "$suite" \
        /usr/share/keyrings/debian-archive-keyring.gpg > "/etc/apt/sources.list.d/$suite.sources"
    fi
    echo "bootstrap: installing qemu-user from $suite"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq >/dev/null
    apt-get install -y -qq --no-install-recommends "qemu-user/$suite" >/dev/null
  fi
  if [[ ! -e $binfmt_dir/register ]] && ! mount -t binfmt_misc binfmt_misc "$binfmt_dir" 2>/dev/null; then
    echo "bootstrap: $why, and this kernel has no binfmt_misc to run 32-bit x86 programs under an emulator: boot it with IA-32 emulation (ia32_emulation=on) or with binfmt_misc" >&2
    exit 1
  fi
  interpreter=$(cut -d: -f7 "$x86_qemu_line")
  if [[ -e $entry && $(head -n 1 "$entry") == enabled ]] && grep -qx "interpreter $interpreter" "$entry"; then
    return 0
  fi
  [[ -e $entry ]] && echo -1 > "$entry"
  sed "s/^:qemu-i386:/:$x86_registration:/" "$x86_qemu_line" > "$binfmt_dir/register"
  if ! x86_probe any; then
    echo -1 > "$entry"
    echo "bootstrap: $why, and qemu-i386 does not run 32-bit x86 programs either" >&2
    exit 1
  fi
  echo "bootstrap: 32-bit x86 programs now run under qemu-i386 $(qemu-i386 --version | sed -n '1s/.*version \([0-9.]*\).*/\1/p') ($why; until the next boot): Windows programs run several times slower (the tests take about three times as long), and no time measured here is the processor's"
}

# 32-bit x86 programs: the i386 Wine loader must run. Where the kernel runs none, they
# run under qemu-user instead; ZUZOVEZU_X86=emulated does that even where the kernel
# could, so that both ways can be tried on one machine (a run without it undoes it).
source "$root/tools/x86_support.sh"
if [[ ${ZUZOVEZU_X86:-} == emulated ]]; then
  emulate_x86 "ZUZOVEZU_X86=emulated"
elif ! x86_probe native; then
  emulate_x86 "this kernel runs no 32-bit x86 programs"
elif [[ -e $binfmt_dir/$x86_registration && $(id -u) -eq 0 ]]; then
  echo -1 > "$binfmt_dir/$x86_registration"
  echo "bootstrap: 32-bit x86 programs run natively again (the emulator's registration is removed)"
fi
