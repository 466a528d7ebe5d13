#!/usr/bin/env bash
# Checks the Debian package in a build folder the way a distribution would:
# lintian (errors, and any hardening or documentation tag, fail), every
# desktop entry validated, and each man page with a SYNOPSIS, its NAME said
# once and each environment variable listed once.
# Usage: scripts/check-package.sh BUILD_DIR   (after `cpack -G DEB` there)
set -euo pipefail
build=${1:?usage: check-package.sh BUILD_DIR}
deb=$(ls "$build"/lumen-suite_*.deb)
fail=0

tags=$(lintian -I "$deb" 2>&1 || true)
echo "$tags"
if echo "$tags" | grep -E '^E: |hardening-|documentation|manual-page|manpage-|changelog|compress'; then
  echo "check-package: lintian shows the tags above" >&2
  fail=1
fi

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
for entry in "$root"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || { echo "check-package: $entry is not valid" >&2; fail=1; }
done

for page in "$root"/usr/share/man/man1/*.1.gz; do
  text=$(zcat "$page")
  name=$(basename "$page" .1.gz)
  grep -qx '\.SH SYNOPSIS' <<<"$text" || { echo "check-package: $name has no SYNOPSIS" >&2; fail=1; }
  said=$(grep -c -- "^$name \\\\- " <<<"$text" || true)
  [ "$said" = 1 ] || { echo "check-package: $name says its name line $said times" >&2; fail=1; }
  # The first line of each entry in ENVIRONMENT names its variables.
  repeats=$(awk '/^\.SH /{env = ($0 == ".SH ENVIRONMENT")} env && prev == ".TP" {print} {prev = $0}' <<<"$text" |
            grep -o 'LUMEN_[A-Z_]*\|PGPASSWORD\|TMPDIR\|DISPLAY\|WAYLAND_DISPLAY\|QT_QPA_PLATFORM' | sort | uniq -d)
  [ -z "$repeats" ] || { echo "check-package: $name lists twice: $repeats" >&2; fail=1; }
done
exit $fail
