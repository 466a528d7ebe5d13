#!/usr/bin/env bash
# CTest fixture for the archive tests on a server:
#   pg_fixture.sh start SCRIPT DIR PORT URLFILE   starts a throw-away cluster, writes its URL
#   pg_fixture.sh stop SCRIPT DIR URLFILE         stops it and removes the folder
# Without the server binaries the start writes no URL and succeeds, so the
# tests that need a server skip instead of failing.
set -uo pipefail

cmd=$1 script=$2 dir=$3
# Where the cluster really is, when it could not be in the build folder.
moved="$dir.location"

case "$cmd" in
  start)
    port=$4 urlfile=$5
    rm -f "$urlfile"
    [ -f "$moved" ] && bash "$script" stop "$(cat "$moved")" >/dev/null 2>&1
    rm -f "$moved"
    if ! ls -d /usr/lib/postgresql/*/bin >/dev/null 2>&1; then
      echo "PostgreSQL server binaries not found: server tests will be skipped"
      exit 0
    fi
    # A cluster left by an interrupted run would hold the port.
    bash "$script" stop "$dir" >/dev/null 2>&1
    # The server's user must reach the folder, and its socket path has a short limit.
    parent=$(dirname "$dir")
    mkdir -p "$parent"
    if [ ${#dir} -gt 80 ] ||
       { [ "$(id -u)" -eq 0 ] && ! runuser -u postgres -- test -x "$parent" 2>/dev/null; }; then
      dir=$(mktemp -d /tmp/lumen-pg.XXXXXX)
      rmdir "$dir"
      echo "$dir" >"$moved"
    fi
    if ! url=$(bash "$script" start "$dir" "$port"); then
      echo "could not start PostgreSQL on port $port" >&2
      [ -f "$dir/server.log" ] && tail -n 20 "$dir/server.log" >&2
      exit 1
    fi
    echo "$url" >"$urlfile"
    echo "PostgreSQL test server: $url"
    ;;
  stop)
    urlfile=$4
    if [ -f "$moved" ]; then
      bash "$script" stop "$(cat "$moved")"
      rm -f "$moved"
    fi
    bash "$script" stop "$dir"
    rm -f "$urlfile"
    ;;
esac
