#!/bin/bash
# Installs what building and testing need on Debian 12, as root. Idempotent and quiet
# when everything is already there.
set -euo pipefail

# fonts-ipafont-gothic gives Wine its Japanese faces; fonts-wine the Marlett of the
# README pictures' caption buttons (tools/dialog_screenshots.sh).
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
