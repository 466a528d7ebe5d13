#!/usr/bin/env bash
# Cross-builds the Windows host bridge with mingw-w64:
#   OUTDIR/x86_64/lumen-host-bridge.exe, OUTDIR/i686/lumen-host-bridge.exe,
#   OUTDIR/x86_64/lumen-test-host.exe (the test automation server the tests
#   register in a Wine prefix), OUTDIR/x86_64/lumen-bridge-bench.exe (the
#   per-call time, bench/bridge_calls.sh) and OUTDIR/lumen-host-bridge-VERSION.zip
#   (both bridges and the Windows README).
# Static programs: they run on a Windows PC with nothing installed.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
out=${1:?usage: build-windows.sh OUTDIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
version=$(sed -n 's/^project(Lumen VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")

flags=(-std=c++17 -O2 -Wall -Wextra -municode -static -DUNICODE -D_UNICODE
       -DWIN32_LEAN_AND_MEAN -DNOMINMAX -D_WIN32_WINNT=0x0601 "-DLUMEN_VERSION=\"$version\""
       -I"$top")
libs=(-lole32 -loleaut32 -luuid -lws2_32 -lbcrypt)

build() { # ARCH OUTPUT SOURCES...
  local arch=$1 output=$2
  shift 2
  mkdir -p "$out/$arch"
  "$arch-w64-mingw32-g++-posix" "${flags[@]}" "$@" -o "$out/$arch/$output" "${libs[@]}"
}

bridge=("$top"/hostbridge/src/*.cpp)
build x86_64 lumen-host-bridge.exe "${bridge[@]}" &
build i686 lumen-host-bridge.exe "${bridge[@]}"
wait $!
build x86_64 lumen-test-host.exe "$top"/hostbridge/testserver/*.cpp &
build x86_64 lumen-bridge-bench.exe "$top"/hostbridge/bench/*.cpp
wait $!

rm -f "$out"/lumen-host-bridge-*.zip
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/lumen-host-bridge/x86_64" "$stage/lumen-host-bridge/i686"
cp "$out/x86_64/lumen-host-bridge.exe" "$stage/lumen-host-bridge/x86_64/"
cp "$out/i686/lumen-host-bridge.exe" "$stage/lumen-host-bridge/i686/"
cp "$top/hostbridge/README-windows.txt" "$stage/lumen-host-bridge/README.txt"
(cd "$stage" && zip -qr "$out/lumen-host-bridge-$version.zip" lumen-host-bridge)
echo "Built $out/lumen-host-bridge-$version.zip"
