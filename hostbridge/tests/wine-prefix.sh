#!/usr/bin/env bash
# The Wine prefix the host bridge's tests share, made once per test run:
#   wine-prefix.sh start PREFIX TEST-HOST-EXE   a fresh prefix, the test host registered
#   wine-prefix.sh stop PREFIX                  its processes ended, the prefix removed
set -euo pipefail
export WINEPREFIX=$2 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
case $1 in
  start)
    if [ -d "$WINEPREFIX" ]; then
      wineserver -k 2>/dev/null || true
      rm -rf "$WINEPREFIX"
    fi
    wineboot -i
    wine "$3" /RegServer
    wineserver -w
    ;;
  stop)
    wineserver -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
    ;;
esac
