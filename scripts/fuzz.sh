#!/usr/bin/env bash
# Runs the libFuzzer targets of a fuzz build from their seeds in fuzz/corpus/.
#   scripts/fuzz.sh [-d BUILD] [-t SECONDS] [TARGET...]
# BUILD defaults to build-fuzz, SECONDS to 5, the targets to every one built
# (names without the fuzz_ prefix: spe, script, ...). New inputs go to a
# scratch corpus, never into the repository; the first sanitizer report or
# crash ends the target, its input is kept as BUILD/fuzz-findings/<target>/,
# and the script ends 1. Each target takes its max_len from its build.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-fuzz
seconds=5
while getopts "d:t:" opt; do
  case $opt in
    d) build=$OPTARG ;;
    t) seconds=$OPTARG ;;
    *) echo "usage: $0 [-d BUILD] [-t SECONDS] [TARGET...]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for exe in "$build"/fuzz/fuzz_*; do
    [ -x "$exe" ] && [ -f "$exe" ] && targets+=("${exe##*/fuzz_}")
  done
fi
[ ${#targets[@]} -gt 0 ] || { echo "fuzz: no targets in $build/fuzz" >&2; exit 2; }

export ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
status=0
for t in "${targets[@]}"; do
  seeds=fuzz/corpus/$t
  [ -d "$seeds" ] || { echo "fuzz: $t has no seeds in $seeds" >&2; status=1; continue; }
  findings=$build/fuzz-findings/$t
  mkdir -p "$scratch/$t" "$findings"
  if "$build/fuzz/fuzz_$t" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
       -print_final_stats=1 -artifact_prefix="$findings/" "$scratch/$t" "$seeds" \
       >"$scratch/$t.log" 2>&1; then
    echo "fuzz: $t clean: $(grep -o 'stat::number_of_executed_units: *[0-9]*' "$scratch/$t.log" | grep -o '[0-9]*$') runs in ${seconds}s"
  else
    echo "fuzz: $t FAILED; input kept in $findings/"
    tail -n 40 "$scratch/$t.log"
    status=1
  fi
done
exit $status
