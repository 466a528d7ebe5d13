#!/usr/bin/env bash
# A throw-away PostgreSQL cluster on loopback for the archive tests.
#   scripts/pg-cluster.sh start DIR PORT   -> prints the connection URL
#   scripts/pg-cluster.sh stop DIR
# The cluster lives in DIR and is removed by stop. As root, the server runs as
# the "postgres" system user (PostgreSQL refuses to run as root).
set -euo pipefail

cmd=${1:?start or stop}
dir=${2:?folder}
port=${3:-54329}

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1)
[ -n "$bindir" ] || { echo "pg-cluster: PostgreSQL server binaries not found" >&2; exit 1; }

as_owner() {
  if [ "$(id -u)" -eq 0 ]; then runuser -u postgres -- "$@"; else "$@"; fi
}

case "$cmd" in
  start)
    mkdir -p "$dir"
    [ "$(id -u)" -eq 0 ] && chown postgres "$dir" && chmod 700 "$dir"
    as_owner "$bindir/initdb" -D "$dir/data" -U lumen --auth=trust -E UTF8 >"$dir/initdb.log" 2>&1
    as_owner "$bindir/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-h 127.0.0.1 -p $port -k $dir -c fsync=off -c max_connections=60" start >/dev/null
    as_owner "$bindir/createdb" -h 127.0.0.1 -p "$port" -U lumen lumen_test
    echo "postgresql://lumen@127.0.0.1:$port/lumen_test"
    ;;
  stop)
    if [ -d "$dir/data" ]; then
      as_owner "$bindir/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: $0 start DIR [PORT] | stop DIR" >&2; exit 2 ;;
esac
