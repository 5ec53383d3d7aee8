#!/usr/bin/env bash
# A throwaway PostgreSQL cluster for the tests.
#
#   pg-cluster.sh start DIR   makes a cluster in DIR (a new folder), starts it
#                             with its socket in DIR (no TCP port) and prints
#                             the URI of its maintenance database
#   pg-cluster.sh stop DIR    stops it and removes DIR
#
# The server refuses to run as root: run as root, the cluster belongs to the
# unprivileged user davodu-test (made when missing), else to `nobody`.
# Exits 2 (printing why) when no server or no such user can be had.
set -euo pipefail

action=${1:-}
dir=${2:-}
[ -n "$action" ] && [ -n "$dir" ] || { echo "usage: $0 start|stop DIR" >&2; exit 64; }

bin=""
for d in /usr/lib/postgresql/*/bin /usr/local/bin /usr/bin; do
  if [ -x "$d/initdb" ] && [ -x "$d/pg_ctl" ]; then bin=$d; break; fi
done

owner=$(id -un)
run() { "$@"; }
if [ "$(id -u)" -eq 0 ]; then
  owner=davodu-test
  if ! id -u "$owner" >/dev/null 2>&1; then
    useradd --system --no-create-home --shell /usr/sbin/nologin "$owner" 2>/dev/null || owner=nobody
  fi
  id -u "$owner" >/dev/null 2>&1 || { echo "no unprivileged user to run PostgreSQL as" >&2; exit 2; }
  run() { runuser -u "$owner" -- "$@"; }
fi

case "$action" in
  start)
    [ -n "$bin" ] || { echo "PostgreSQL is not installed (no initdb, pg_ctl)" >&2; exit 2; }
    mkdir -p "$dir"
    [ "$(id -u)" -ne 0 ] || chown "$owner" "$dir"
    chmod 700 "$dir"
    run "$bin/initdb" -D "$dir/data" -U davodu --auth=trust -E UTF8 --no-locale >"$dir/initdb.log" 2>&1 \
      || { cat "$dir/initdb.log" >&2; exit 1; }
    # fsync off: the data is thrown away; no TCP: the socket is in $dir.
    run "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w -t 60 \
      -o "-k $dir -c listen_addresses= -c fsync=off -c max_connections=200" start >/dev/null \
      || { cat "$dir/server.log" >&2; exit 1; }
    echo "postgresql://davodu@/postgres?host=$dir"
    ;;
  stop)
    if [ -n "$bin" ] && [ -d "$dir/data" ]; then
      run "$bin/pg_ctl" -D "$dir/data" -m immediate -w stop >/dev/null 2>&1 || true
    fi
    rm -rf "$dir"
    ;;
  *)
    echo "usage: $0 start|stop DIR" >&2
    exit 64
    ;;
esac
