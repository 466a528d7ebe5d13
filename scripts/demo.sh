#!/usr/bin/env bash
# The suite's main job on the simulated host: set up, build, then play the
# example scripts unattended in a scratch lab folder, the way a scheduled job
# would, and show where each product lies.
#
#   bash scripts/demo.sh [LAB_FOLDER]
#
# LAB_FOLDER (default: a new temporary folder) receives the four programs
# side by side, as a lab installs them, and everything they write.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build="${LUMEN_BUILD_DIR:-$root/build}"

if [ -z "${LUMEN_SKIP_SETUP:-}" ]; then
    bash scripts/setup.sh
fi
echo "== build"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target Sequa Ledgerly Driftlog Transpec hostsim

work="${1:-$(mktemp -d "${TMPDIR:-/tmp}/lumen-demo.XXXXXX")}"
lab="$work/lab"
mkdir -p "$lab"
cp "$build/sequa/Sequa" "$build/ledgerly/Ledgerly" "$build/driftlog/Driftlog" \
   "$build/transpec/Transpec" "$lab/"
cp examples/*.lsf "$lab/"
cp -r examples/spectra "$lab/"

# The simulated host: its installation folder (reports, saved spectra) under
# LUMEN_ROOT, a clock 600 times faster than real time, a fixed seed so that
# every demo shows the same counts.
export LUMEN_ROOT="$work/Lumen"
export LUMEN_HOST=sim
export LUMEN_HOST_SPEED="${LUMEN_HOST_SPEED:-600}"
export LUMEN_HOST_SEED="${LUMEN_HOST_SEED:-1}"
mkdir -p "$LUMEN_ROOT/Temp" "$LUMEN_ROOT/Data"
# Nobody sits at this run: the questions of the sample batch are answered
# from a file, and no window opens.
unset DISPLAY WAYLAND_DISPLAY
cd "$lab"

# play SCRIPT HOST_TIME [ANSWERS]: each run has a simulated host of its own,
# whose clock starts at the hour of the lab's day given here.
play() {
    echo "== $1 (host clock from $2)"
    local started=$SECONDS
    if [ -n "${3:-}" ]; then
        LUMEN_HOST_START="$2" LUMEN_ANSWERS="$3" ./Sequa "$1"
    else
        LUMEN_HOST_START="$2" ./Sequa "$1"
    fi
    echo "   ended with status 0 after $((SECONDS - started)) s"
}

day=$(date +%F)
play check_source.lsf "$day 08:00:00"
play sample_batch.lsf "$day 09:00:00" "$root/examples/demo_answers.txt"
play check_source.lsf "$day 16:00:00"
play import_spectrum.lsf "$day 16:30:00"

db="$LUMEN_ROOT/RESULTS.MDB"
records=$(sqlite3 "$db" 'SELECT COUNT(*) FROM "SamData";')
columns=$(sqlite3 "$db" 'PRAGMA table_info("SamData");' | wc -l)
roilog=$(ls ROI_Data_*.txt)

echo
echo "Products:"
echo "  reports and spectra:  $LUMEN_ROOT/Data"
ls "$LUMEN_ROOT/Data" | sed 's/^/                          /'
# The log holds a date line and a header, then one row per ROI and pass.
echo "  ROI log:              $lab/$roilog ($(($(grep -c '[^[:space:]]' "$roilog") - 2)) rows)"
echo "  results database:     $db ($records records, $columns columns)"
echo "  stability log:        $lab/StabData.txt ($(wc -l < StabData.txt) lines)"
sed 's/^/                          /' StabData.txt
echo "  imported spectrum:    $lab/spectra/CHECK01.Ans"
echo "  last results report:  $LUMEN_ROOT/Temp/RESULTS.TXT"
