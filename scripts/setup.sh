#!/usr/bin/env bash
# Installs the Debian packages that the build, the tests and the demo need.
# Safe to run again: apt-get skips what is already installed.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6sql6-sqlite libqt6sql6-psql
  libgl-dev
  libgtest-dev googletest libbenchmark-dev
  clang clang-format libclang-rt-14-dev libfuzzer-14-dev
  sqlite3 postgresql xvfb xauth dpkg-dev
  help2man lintian libqt6svg6 desktop-file-utils faketime
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix wine wine64 zip
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: all packages present"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi

export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
echo "setup: installed ${missing[*]}"
