#!/usr/bin/env bash
# Takes every picture under docs/screenshots from the built programs, so the
# pages show the windows as they are:
#   sequa, ledgerly, driftlog/main-window.png  each window as it opens, under
#                                              Xvfb on a 1280x800 screen
#   transpec/spectrum-log-energy.png           Transpec with a simulated 1 h
#                                              check-source count open, in log scale
#   driftlog/control-chart.png                 `Driftlog --chart` of the slow creep
#                                              that docs/driftlog.md works through
# Each program runs in a scratch folder, so no settings are kept or read.
#
#   bash scripts/screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=$(realpath "${1:-build}")
shots="$root/docs/screenshots"
screen="-screen 0 1280x800x24"

log=$(mktemp)
cmake --build "$build" --target grab_screen transpec_shot Sequa Ledgerly Transpec Driftlog >"$log" 2>&1 ||
    { cat "$log" >&2; rm -f "$log"; echo "screenshots: the build failed" >&2; exit 1; }
rm -f "$log"
# A fixed folder: Transpec's window shows the spectrum's path.
work="${TMPDIR:-/tmp}/lumen-screenshots"
rm -rf "$work"
mkdir -p "$work"
trap 'rm -rf "$work"' EXIT
export HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$HOME"
mkdir -m 700 "$XDG_RUNTIME_DIR"

# The windows show the host's paths of a lab machine.
for program in Sequa Ledgerly Driftlog; do
    folder="$work/${program,,}"
    mkdir -p "$folder" "$shots/${program,,}"
    cp "$build/${program,,}/$program" "$folder/"
    out="$shots/${program,,}/main-window.png"
    LUMEN_ROOT=/home/lab/Lumen xvfb-run -a -s "$screen" bash -c "
        cd '$folder' && QT_QPA_PLATFORM=xcb ./$program & pid=\$!
        '$build/tools/grab_screen' '$out' 3000
        kill \$pid 2>/dev/null || true
        wait \$pid 2>/dev/null || true"
    echo "$out"
done

# A 4096-channel HPGe count of a Cs-137 + Co-60 check source, 0.5 keV a
# channel, with Poisson noise from a fixed seed: the same picture every time.
mkdir -p "$work/spectra" "$work/transpec" "$shots/transpec"
python3 - "$work/spectra/check-source.spe" <<'EOF'
import math, random, sys
random.seed(7)
def poisson(mean):
    if mean < 30:
        limit, k, p = math.exp(-mean), 0, random.random()
        while p > limit:
            k += 1
            p *= random.random()
        return k
    return max(0, round(random.gauss(mean, math.sqrt(mean))))
lines = [(32.1, 900), (36.4, 250), (75.0, 300), (661.66, 52000), (1173.23, 16000),
         (1332.49, 14500), (1460.82, 900)]
counts = []
for ch in range(4096):
    e = 0.5 * ch
    mean = 4000 * math.exp(-e / 90) + 60 * math.exp(-e / 700) + 8
    for edge, height in ((477.3, 40), (963.4, 12), (1118.1, 10)):
        if e < edge:
            mean += height * (0.6 + 0.4 * e / edge)
    for energy, area in lines:
        sigma = (0.8 + 0.0006 * energy) / 2.355 / 0.5
        mean += area / (sigma * math.sqrt(2 * math.pi)) * math.exp(-0.5 * ((ch - 2 * energy) / sigma) ** 2)
    counts.append(poisson(mean))
with open(sys.argv[1], "w", newline="\r\n") as f:
    f.write("$SPEC_ID:\nCheck source Cs-137 + Co-60, HPGe\n$SPEC_REM:\nShelf 2, 1 h count\n")
    f.write("$DATE_MEA:\n03/14/2024 09:30:42\n$MEAS_TIM:\n3600 3672\n$DATA:\n0 4095\n")
    f.write("".join(f"{c}\n" for c in counts))
    f.write("$ENER_FIT:\n0 0.5\n")
EOF
# A converter that has run before: its 290-byte settings record (the last
# spectrum, the open dialog's extension, folder and filter, the save folder).
python3 - "$work/transpec/Transpec&FILE.DAT" "$work/spectra" <<'EOF'
import sys
text = lambda s: s.ljust(72).encode("latin-1")
folder = sys.argv[2]
record = (text(folder + "/check-source.spe") + text("SPE") + text(folder) + (1).to_bytes(2, "little")
          + text(folder))
open(sys.argv[1], "wb").write(record)
EOF
out="$shots/transpec/spectrum-log-energy.png"
LUMEN_PROGRAM_DIR="$work/transpec" xvfb-run -a -s "$screen" \
    env QT_QPA_PLATFORM=xcb "$build/tools/transpec_shot" "$work/spectra/check-source.spe" "$out"
echo "$out"

# The worked example's check source, counted every morning at 08:00 and logged
# with `Driftlog KEV`: 20 baseline checks scattered by +-0.05 keV, then a gain
# that creeps up by 0.005 keV a day, up to the 37th check.
lab="$work/driftlog-lab"
mkdir -p "$lab/Lumen/Temp"
cp "$build/driftlog/Driftlog" "$lab/"
cat >"$lab/StabLimits.txt" <<'EOF'
gain = 0.05
kev = 0.3
fwhm = 2.2
rate = 5
halflife = 30.08 y
rules = 1-3s 2-2s R-4s 10-x ewma cusum
EOF
for k in $(seq 0 37); do
    read -r date centre fwhm net < <(python3 -c "
import datetime
k = $k
day = datetime.date(2026, 9, 1) + datetime.timedelta(days=k)
creep = 0.01 * max(0, (k - 20) // 2)
side = 0 if k == 0 else (0.05 if k % 2 else -0.05)
fwhm = 1.52 if k == 0 else (1.54 if k % 4 in (2, 3) else 1.50)
net = 37629 if k == 0 else (38211 if k % 2 else 37603)
print(day.strftime('%d-%b-%Y'), f'{661.66 + side + creep:.2f}', f'{fwhm:.2f}', net)")
    cat >"$lab/Lumen/Temp/RESULTS.TXT" <<EOF
                     GAMMA SPECTRUM ANALYSIS REPORT

ID: Check source Cs-137
File: CHECK.ANS      Date: $date 08:00:00
LT:     1800.00 s   RT:     1830.00 s   DT:    1.64%
Activities reported as of Measurement Date
Analysis: RapidScan      Library: QC.LIB


                         PEAK SEARCH RESULTS
  Pk   Channel Energy    FWHM Net Area
   1   1323.32  $centre    $fwhm      $net
EOF
    status=0
    (cd "$lab" && LUMEN_ROOT="$lab/Lumen" ./Driftlog KEV >/dev/null) || status=$?
    [ "$status" = 0 ] || [ "$status" = 4 ] || { echo "Driftlog KEV ended with $status" >&2; exit 1; }
done
mkdir -p "$shots/driftlog"
(cd "$lab" && LUMEN_ROOT="$lab/Lumen" ./Driftlog --chart "$shots/driftlog/control-chart.png")
