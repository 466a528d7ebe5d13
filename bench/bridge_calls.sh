#!/usr/bin/env bash
# The Windows host bridge's cost per call: the same host call made directly
# through COM and through the bridge, by one Windows client in one Wine
# prefix, side by side (median of CALLS each, default 1000), on the
# project's test host.
#   bash bench/bridge_calls.sh [BUILD-DIR] [CALLS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build}
calls=${2:-1000}
win=$build/hostbridge/windows/x86_64
[ -x "$win/lumen-host-bridge.exe" ] || bash "$top/scripts/build-windows.sh" "$build/hostbridge/windows"
export WINEPREFIX=$(mktemp -d) WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
bash "$top/hostbridge/tests/wine-prefix.sh" start "$WINEPREFIX" "$win/lumen-test-host.exe" >/dev/null 2>&1
fifo=$WINEPREFIX/listening
mkfifo "$fifo"
wine "$win/lumen-host-bridge.exe" --listen 0 >"$fifo" &
read -r listening <"$fifo"
wine "$win/lumen-bridge-bench.exe" "${listening##*:}" "$calls"
