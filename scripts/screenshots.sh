#!/usr/bin/env bash
# Takes the README's screenshots: each program's main window under Xvfb on a
# 1366x768 screen, started in a scratch folder so that no settings are kept.
#
#   bash scripts/screenshots.sh [BUILD_DIR] [PROGRAM...]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${1:-build}"
shift || true
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(sequa ledgerly transpec driftlog)

cmake --build "$build" --target grab_screen Sequa Ledgerly Transpec Driftlog >/dev/null
for program in "${programs[@]}"; do
    exe=$(ls "$build/$program/" | grep -i "^$program\$")
    mkdir -p "docs/screenshots/$program"
    work=$(mktemp -d)
    cp "$build/$program/$exe" "$work/"
    if [ "$program" = transpec ]; then
        # A converter that has run before: its 290-byte settings record.
        python3 -c "
import sys
t = lambda s: s.ljust(72).encode('latin-1')
sys.stdout.buffer.write(t('/home/lab/spectra/CHECK01.CHN') + t('CHN') + t('/home/lab/spectra')
                        + (1).to_bytes(2, 'little') + t('/home/lab/Lumen/Data'))" > "$work/Transpec&FILE.DAT"
    fi
    LUMEN_ROOT=/home/lab/Lumen xvfb-run -a -s "-screen 0 1366x768x24" bash -c "
        cd '$work' && QT_QPA_PLATFORM=xcb ./$exe & pid=\$!
        '$root/$build/tools/grab_screen' '$root/docs/screenshots/$program/main-window.png' 3000
        kill \$pid 2>/dev/null || true"
    rm -rf "$work"
    echo "docs/screenshots/$program/main-window.png"
done
