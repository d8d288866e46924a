#!/bin/sh
# A throwaway PostgreSQL server for one test run.
#   test-server.sh start DIR   starts it and writes DIR/connection (a libpq connection string)
#   test-server.sh stop DIR    stops it and removes its files
#   test-server.sh halt DIR    stops it, keeping its files; resume DIR starts it again
# Without PostgreSQL's server programs it says so and writes an empty DIR/connection: the
# server tests then skip with that message.
set -eu
action=$1
dir=$2
mkdir -p "$dir"

bindir=$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -n 1 || true)

# initdb refuses root: as root the server runs as the postgres user.
as_server() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

case "$action" in
start)
  : >"$dir/connection"
  if [ -z "$bindir" ] || [ ! -x "$bindir/initdb" ]; then
    echo "SKIP: PostgreSQL's server programs are not installed (scripts/deps.sh installs postgresql-15); the server tests are skipped."
    exit 0
  fi
  if [ "$(id -u)" -eq 0 ] && ! id postgres >/dev/null 2>&1; then
    echo "SKIP: there is no postgres user to run the test server as; the server tests are skipped."
    exit 0
  fi
  data=$(mktemp -d /tmp/velmora-pg.XXXXXX)
  [ "$(id -u)" -eq 0 ] && chown postgres "$data"
  echo "$data" >"$dir/data"
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  as_server "$bindir/initdb" -D "$data/db" -U postgres --auth=trust --no-sync -E UTF8 \
    --locale=C.UTF-8 >"$dir/initdb.log" 2>&1
  echo "$port" >"$dir/port"
  as_server "$bindir/pg_ctl" -D "$data/db" -l "$data/server.log" -w -o \
    "-p $port -k $data -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=60" \
    start >/dev/null
  echo "host=127.0.0.1 port=$port user=postgres dbname=postgres" >"$dir/connection"
  echo "test server up on port $port"
  ;;
halt)
  data=$(cat "$dir/data")
  as_server "$bindir/pg_ctl" -D "$data/db" -m fast -w stop >/dev/null
  ;;
resume)
  data=$(cat "$dir/data")
  port=$(cat "$dir/port")
  as_server "$bindir/pg_ctl" -D "$data/db" -l "$data/server.log" -w -o \
    "-p $port -k $data -c listen_addresses=127.0.0.1 -c fsync=off -c max_connections=60" \
    start >/dev/null
  ;;
stop)
  [ -f "$dir/data" ] || exit 0
  data=$(cat "$dir/data")
  if [ -n "$bindir" ] && [ -d "$data/db" ]; then
    as_server "$bindir/pg_ctl" -D "$data/db" -m fast -w stop >/dev/null 2>&1 || true
  fi
  rm -rf "$data"
  rm -f "$dir/data" "$dir/connection" "$dir/port"
  ;;
*)
  echo "usage: $0 start|stop|halt|resume DIR" >&2
  exit 2
  ;;
esac
