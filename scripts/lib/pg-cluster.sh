# Shell functions for a PostgreSQL cluster of our own, sourced by
# scripts/test and scripts/server. PostgreSQL refuses to run as root, so a
# root caller runs the server as the "postgres" user (the Debian package's).

pg_bin() {
  local dir
  dir="$(ls -d /usr/lib/postgresql/*/bin 2>/dev/null | sort -V | tail -1)"
  [ -n "$dir" ] || { echo "PostgreSQL is not installed" >&2; return 1; }
  echo "$dir"
}

# Runs a server program as the cluster's owner.
pg_as_owner() {
  if [ "$(id -u)" -eq 0 ]; then
    runuser -u postgres -- "$@"
  else
    "$@"
  fi
}

# A TCP port on 127.0.0.1 that nothing listens on.
pg_free_port() {
  local port
  for _ in $(seq 1 50); do
    port=$((20000 + RANDOM % 20000))
    (echo >"/dev/tcp/127.0.0.1/$port") 2>/dev/null || { echo "$port"; return 0; }
  done
  echo "no free port found" >&2
  return 1
}

# pg_cluster_create DIR SUPERUSER_PASSWORD: a new cluster in DIR/data,
# passwords required over TCP, UTF-8 with the "C" collation.
pg_cluster_create() {
  local dir="$1" password="$2" bin
  bin="$(pg_bin)"
  mkdir -p "$dir"
  [ "$(id -u)" -eq 0 ] && chown postgres: "$dir"
  local pwfile="$dir/.pw"
  (umask 077; printf '%s\n' "$password" >"$pwfile")
  [ "$(id -u)" -eq 0 ] && chown postgres: "$pwfile"
  pg_as_owner "$bin/initdb" -D "$dir/data" -U postgres --pwfile="$pwfile" \
    --auth-local=scram-sha-256 --auth-host=scram-sha-256 \
    --encoding=UTF8 --locale=C >"$dir/initdb.log"
  rm -f "$pwfile"
}

# pg_cluster_start DIR PORT [LISTEN]: starts the server, its log in DIR/server.log.
pg_cluster_start() {
  local dir="$1" port="$2" listen="${3:-127.0.0.1}" bin
  bin="$(pg_bin)"
  pg_as_owner "$bin/pg_ctl" -D "$dir/data" -l "$dir/server.log" -w \
    -o "-p $port -c listen_addresses=$listen -k $dir" start >/dev/null
}

pg_cluster_stop() {
  local dir="$1" bin
  bin="$(pg_bin)"
  [ -f "$dir/data/postmaster.pid" ] || return 0
  pg_as_owner "$bin/pg_ctl" -D "$dir/data" -m fast -w stop >/dev/null || true
}

# pg_sql PORT PASSWORD SQL: runs SQL as the superuser.
pg_sql() {
  local port="$1" password="$2" sql="$3" bin
  bin="$(pg_bin)"
  PGPASSWORD="$password" "$bin/psql" -h 127.0.0.1 -p "$port" -U postgres -d postgres \
    -v ON_ERROR_STOP=1 -q -c "$sql" >/dev/null
}

pg_random_password() {
  head -c 18 /dev/urandom | base64 | tr -d '/+=' | head -c 20
}
