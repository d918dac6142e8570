# pg_tune DATA_DIR DESKS: sizes a cluster's settings for DESKS desks at once
# on this machine (each desk holds one connection; a few more for the
# administrator's commands), its memory from the machine's: a quarter for
# shared buffers (at most 8 GB), the rest counted on as the file cache.
# Written to conf.d/kashidashi.conf, read at the next start.
pg_tune() {
  local data="$1" desks="$2" mem_mb connections buffers cache
  mem_mb=$(( $(awk '/^MemTotal:/ {print $2}' /proc/meminfo) / 1024 ))
  connections=$(( desks + 20 ))
  [ "$connections" -lt 100 ] && connections=100
  buffers=$(( mem_mb / 4 )); [ "$buffers" -gt 8192 ] && buffers=8192
  cache=$(( mem_mb * 3 / 4 ))
  mkdir -p "$data/conf.d"
  grep -q "^include_dir = 'conf.d'" "$data/postgresql.conf" ||
    echo "include_dir = 'conf.d'" >>"$data/postgresql.conf"
  cat >"$data/conf.d/kashidashi.conf" <<CONF
# Sized by kashidashi for $desks desks on a machine of ${mem_mb} MB.
max_connections = $connections
shared_buffers = ${buffers}MB
effective_cache_size = ${cache}MB
work_mem = 4MB
maintenance_work_mem = 256MB
wal_buffers = 16MB
checkpoint_timeout = 15min
max_wal_size = 4GB
CONF
  [ "$(id -u)" -eq 0 ] && chown -R postgres: "$data/conf.d" "$data/postgresql.conf"
  return 0
}
