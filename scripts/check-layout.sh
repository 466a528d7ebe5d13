#!/usr/bin/env bash
# Fails when a file breaks the project's layering or its committed format:
# - a program folder includes another program's headers (shared code lives
#   in common/, hostlink/, spectra/ or simhost/, the simulated host);
# - a benchmark, fuzz target, road test or tool includes a folder that is
#   not the project's;
# - test support is out of place: a header of a program's (or the road's)
#   tests/ is included from outside that folder (stand-ins that several
#   folders share live in common/, hostlink/, simhost/ or spectra/testsupport), or
#   the code of a program or a shared library includes a testsupport header
#   (tests, benchmarks, fuzz targets, the road and developer tools may);
# - an include is not written from the top folder;
# - a C++ file differs from .clang-format.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
programs=(sequa ledgerly transpec driftlog hostsim)
shared="common|hostlink|spectra|simhost"

for p in "${programs[@]}"; do
  while IFS=: read -r file inc; do
    top=${inc%%/*}
    [ "$top" = "$p" ] && continue
    [[ "$top" =~ ^($shared)$ ]] && continue
    echo "layout: $file includes $inc"
    status=1
  done < <(git grep -o -E '#include "[^"]+"' -- "$p/" | sed -E 's/:#include "([^"]+)"/:\1/')
done

# The lower shared homes include only each other; the simulated host
# builds on them.
for lib in common hostlink spectra simhost; do
  while IFS=: read -r file inc; do
    top=${inc%%/*}
    if [ "$lib" = simhost ]; then
      [[ "$top" =~ ^($shared)$ ]] && continue
    else
      [[ "$top" =~ ^(common|hostlink|spectra)$ ]] && continue
    fi
    echo "layout: $file (shared code) includes $inc"
    status=1
  done < <(git grep -o -E '#include "[^"]+"' -- "$lib/" | sed -E 's/:#include "([^"]+)"/:\1/')
done

# Benchmarks, fuzz targets, the road and the tools may reach any program's
# code, but only folders of the project.
tops="common|hostlink|spectra|simhost|sequa|ledgerly|transpec|driftlog|hostsim|bench|fuzz|road|tools"
for dir in bench fuzz road tools; do
  while IFS=: read -r file inc; do
    case "$inc" in */*) ;; *) continue ;; esac
    [[ "${inc%%/*}" =~ ^($tops)$ ]] && continue
    echo "layout: $file includes $inc"
    status=1
  done < <(git grep -o -E '#include "[^"]+"' -- "$dir/" | sed -E 's/:#include "([^"]+)"/:\1/')
done

# The Windows host bridge builds without Qt or the project's libraries: its
# sources reach only the method list, which has no dependency at all. Its
# tests, run on Linux, may reach the shared code like any program's tests.
while IFS=: read -r file inc; do
  case "$file:$inc" in
    hostbridge/src/*:hostbridge/src/*|hostbridge/testserver/*:hostbridge/testserver/*) ;;
    hostbridge/src/*:hostlink/HostMethodList.h|hostbridge/testserver/*:hostlink/HostMethodList.h) ;;
    hostbridge/tests/*:hostbridge/tests/*|hostbridge/tests/*:hostlink/*) ;;
    hostbridge/tests/*:common/testsupport/*|hostbridge/tests/*:simhost/testsupport/*) ;;
    *) echo "layout: $file (host bridge) includes $inc"; status=1 ;;
  esac
done < <(git grep -o -E '#include "[^"]+"' -- hostbridge/ | sed -E 's/:#include "([^"]+)"/:\1/')

# Test support in one place.
while IFS=: read -r file inc; do
  top=${inc%%/*}
  case "$inc" in
    */tests/*|*/dbtests/*)
      if [[ "$top" =~ ^(sequa|ledgerly|transpec|driftlog|hostsim|spectra|road)$ ]] && [ "${file%%/*}" != "$top" ]; then
        echo "test support: $file includes $inc, a header of another folder's tests (move it to a testsupport folder)"
        status=1
      fi ;;
    */testsupport/*)
      case "$file" in
        */tests/*|*/dbtests/*|*/testsupport/*|bench/*|fuzz/*|road/*|tools/*) ;;
        *) echo "test support: $file, which is no test, includes $inc"; status=1 ;;
      esac ;;
  esac
done < <(git grep -o -E '#include "[^"]+"' -- '*.cpp' '*.h' | sed -E 's/:#include "([^"]+)"/:\1/')

while IFS=: read -r file inc; do
  case "$inc" in */*) ;; *.moc) ;; *) echo "layout: $file includes \"$inc\" without its folder"; status=1 ;; esac
done < <(git grep -o -E '#include "[^"]+"' -- '*.cpp' '*.h' | sed -E 's/:#include "([^"]+)"/:\1/')

if command -v clang-format >/dev/null; then
  unformatted=$(git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run 2>&1 | grep -o -E '^[^:]+:[0-9]+:[0-9]+: warning' | cut -d: -f1 | sort -u || true)
  if [ -n "$unformatted" ]; then
    echo "format: these files differ from .clang-format (run clang-format -i on them):"
    echo "$unformatted"
    status=1
  fi
else
  echo "format: clang-format is missing"; status=1
fi

python3 scripts/check-includes.py || status=1

[ $status -eq 0 ] && echo "layout and format: clean"
exit $status
