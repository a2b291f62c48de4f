# Sourced by the sync's tests: a PostgreSQL server of the test's own, run as the postgres user
# (the server programs refuse root) in a folder under $PG_WORK, on a free loopback port, and a
# host password file for the driver, which runs on the host side of Wine.
#   pg_start / pg_stop_immediate / pg_restart / pg_stop; psql_site "SQL"
PG_BIN=/usr/lib/postgresql/15/bin
PG_DATA=$PG_WORK/pg/data
PG_PASSWORD=sync-secret-1

pg_as() { runuser -u postgres -- "$@"; }

pg_free_port() {
    python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

pg_init() {
    PG_PORT=$(pg_free_port)
    chmod 755 "$PG_WORK"
    mkdir -p "$PG_WORK/pg"
    chown postgres "$PG_WORK/pg"
    echo "postgres-pw" >"$PG_WORK/pg/pwfile"
    chown postgres "$PG_WORK/pg/pwfile"
    pg_as "$PG_BIN/initdb" -D "$PG_DATA" -U postgres --pwfile="$PG_WORK/pg/pwfile" \
        --auth=scram-sha-256 -E UTF8 --locale=C.UTF-8 >"$PG_WORK/pg/initdb.log"
    cat >>"$PG_DATA/postgresql.conf" <<CONF
listen_addresses = '127.0.0.1'
port = $PG_PORT
unix_socket_directories = '$PG_WORK/pg'
fsync = off
CONF
    pg_start
    PGPASSWORD=postgres-pw psql -h 127.0.0.1 -p "$PG_PORT" -U postgres -d postgres -qAt \
        -c "CREATE ROLE store LOGIN PASSWORD '$PG_PASSWORD'" \
        -c "CREATE DATABASE calls OWNER store" >/dev/null
    export PGPASSFILE=$PG_WORK/pgpass
    echo "127.0.0.1:$PG_PORT:calls:store:$PG_PASSWORD" >"$PGPASSFILE"
    chmod 600 "$PGPASSFILE"
}

pg_start() {
    pg_as "$PG_BIN/pg_ctl" -D "$PG_DATA" -l "$PG_WORK/pg/server.log" -w -t 120 start >/dev/null
}

pg_stop_immediate() {
    pg_as "$PG_BIN/pg_ctl" -D "$PG_DATA" -m immediate -w -t 120 stop >/dev/null
}

pg_stop() {
    [ -f "$PG_DATA/postmaster.pid" ] || return 0
    pg_as "$PG_BIN/pg_ctl" -D "$PG_DATA" -m fast -w -t 120 stop >/dev/null || true
}

# The connection string a site's INI gets; the password comes from $PGPASSFILE.
pg_connection() {
    echo "Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=${1:-$PG_PORT};Database=calls;Uid=store${2:-}"
}

psql_site() {
    psql -h 127.0.0.1 -p "$PG_PORT" -U store -d calls -qAt -F '|' -c "$1"
}
