#!/usr/bin/env bash
# Sets everything up and runs every test: the normal build, then the
# sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)

echo "== layout and format"
bash scripts/check-layout.sh

echo "== build (RelWithDebInfo)"
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j"$jobs"
echo "== package checked by lintian, desktop-file-validate and the man pages"
rm -f build/lumen-suite_*.deb
(cd build && cpack -G DEB >/dev/null)
bash scripts/check-package.sh build
echo "== tests"
(cd build && ctest --output-on-failure -j"$jobs" --timeout 300)

if [ "${LUMEN_SKIP_SANITIZE:-0}" != "1" ]; then
  echo "== build (sanitizers)"
  cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DLUMEN_SANITIZE=ON -DLUMEN_BENCH=OFF >/dev/null
  cmake --build build-asan -j"$jobs"
  echo "== tests under the sanitizers"
  (cd build-asan && ASAN_OPTIONS=detect_leaks=0 UBSAN_OPTIONS=print_stacktrace=1 \
     ctest --output-on-failure -j"$jobs" --timeout 600 -LE no-sanitize)
fi
