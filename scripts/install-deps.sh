#!/usr/bin/env bash
# Installs what the builds and tests need on a fresh Debian machine (root).
set -euo pipefail
packages=(cmake ninja-build g++ googletest g++-mingw-w64-x86-64 wine64 xvfb xdotool
          imagemagick x11-utils fonts-ipafont-gothic fonts-ipafont-mincho locales tmux
          clang valgrind)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
fi
# Wine takes its ANSI code page from the Unix locale: 932 needs ja_JP.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
  sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
