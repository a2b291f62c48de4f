#!/usr/bin/env bash
# Ringsync.exe under Wine against a PostgreSQL server of the test's own: a seeded log field by
# field, more calls while the background sync runs, the real Ringhold logging calls beside it,
# the clock moved, a purge, faults of the server, the settings and the log (missing, locked), two
# installations claiming one site name.
set -euo pipefail
PG_WORK=$(mktemp -d)
source "$(dirname "$0")/pg_server.sh"
source "$(dirname "$0")/ringhold_site.sh"
run=$RING_WINE_RUN
wine_dir=$RING_WINE_DIR
bin=$RING_BIN
bg_pids=()

cleanup() {
    for pid in "${bg_pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    pg_stop
    rm -rf "$PG_WORK"
}
trap cleanup EXIT

# 77: this machine cannot run the build's Windows programs (skipped).
"$run" "$wine_dir" "$bin/Ringsync.exe" /no-such-command >/dev/null || [ $? -ne 77 ] || exit 77

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

step() { echo "== $*"; }

# Waits up to $1 seconds for the command to succeed.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.5
    done
}

win_path() { echo "Z:$1" | tr / '\\'; }

# A program directory with the sync, its libraries and an INI for site $2.
make_site() {
    local dir=$PG_WORK/$1
    mkdir -p "$dir/DATA" "$dir/CONTROL"
    cp "$bin/Ringsync.exe" "$bin/KEYFILE.dll" "$bin/Pantry.dll" "$dir/"
    write_ini "$dir" "$2" "$(pg_connection)" "${3:-60}"
    echo "$dir"
}

write_ini() {
    printf '[CIDServer]\r\nUDPPort=3520\r\n[CIDSync]\r\nConnection=%s\r\nSite=%s\r\nInterval=%s\r\n' \
        "$3" "$2" "$4" >"$1/POSOvena.INI"
}

sync_cmd() {
    local dir=$1
    shift
    "$run" "$wine_dir" "$dir/Ringsync.exe" "$@" >/dev/null 2>&1
}

expect_exit() {
    local want=$1 rc=0
    shift
    sync_cmd "$@" || rc=$?
    [ "$rc" -eq "$want" ] || fail "Ringsync $2 in $1 exited $rc, not $want"
}

status_value() { sed -n "s/^$2=//p" "$1/DATA/QuorlSync.txt" | tr -d '\r'; }

expect_status() {
    local got
    got=$(status_value "$1" "$2")
    case $got in
    $3) ;;
    *) fail "QuorlSync.txt $2 is '$got', not '$3'" ;;
    esac
}

fill() {
    "$run" "$wine_dir" "$bin/callfill.exe" "$(win_path "$1")" "${@:2}" >/dev/null ||
        fail "callfill $*"
}

# Also keeps every line given to a site in DIR.lines, from which a purge rebuilds its log.
fill_list() {
    printf '%s\n' "${@:2}" >"$PG_WORK/calls.txt"
    printf '%s\n' "${@:2}" >>"$1.lines"
    fill "$1" --list "$(win_path "$PG_WORK/calls.txt")"
}

site_count() { psql_site "SELECT count(*) FROM cid_calls WHERE site = '$1'"; }

count_is() { [ "$(site_count "$1")" = "$2" ]; }

day() { date -d "$1" +%m-%d-%Y; }
sql_day() { date -d "$1" +%Y-%m-%d; }

pg_init

step "first pass over a seeded log, field by field"
a=$(make_site a north-1)
expect_exit 0 "$a" /init
expect_exit 0 "$a" /init
t=$(day today)
# Two identical calls in one minute, Windows-1252 names with quote, backslash and braces, a
# start-of-call record, a caller-ID error, an outbound call with extra digits.
fill_list "$a" \
    "$t 12:05:00 I 5551234567 95 2 1 0 Caf$(printf '\xe9') O'Brien" \
    "$t 12:05:00 I 5551234567 95 2 1 0 Caf$(printf '\xe9') O'Brien" \
    "$t 12:05:00 I PRIVATE 0 0 2 1 back\\slash {x}?" \
    "$t 00:05:00 I 5550001111 30 1 3 2 $(printf '\x93')Quoted$(printf '\x94')" \
    "$t 23:59:00 O 18005551212 150 0 4 0 |12#*9"
expect_exit 0 "$a" /once
expect_status "$a" result ok
expect_status "$a" sent 5
expect_status "$a" total 5
expect_status "$a" error ""
expect_status "$a" time "$t [0-2][0-9]:[0-5][0-9]:[0-5][0-9]"
got=$(psql_site "SELECT site, call_day, call_time, number, name, extra_digits, duration_s, line,
    rings, direction, start_only, caller_id_error, minutes, occurrence, length(log_record)
    FROM cid_calls ORDER BY call_day, call_time, line, occurrence")
d=$(sql_day today)
want="north-1|$d|00:05:00|5550001111|“Quoted”||30|3|1|I|f|t|0|0|129
north-1|$d|12:05:00|5551234567|Café O'Brien||95|1|2|I|f|f|2|0|129
north-1|$d|12:05:00|5551234567|Café O'Brien||95|1|2|I|f|f|2|1|129
north-1|$d|12:05:00|PRIVATE|back\\slash {x}?||0|2|0|I|t|f|0|0|129
north-1|$d|23:59:00|18005551212||12#*9|150|4|0|O|f|f|2|0|129"
[ "$got" = "$want" ] || fail "rows at the server:
$got
wanted:
$want"
got=$(psql_site "SELECT inbound, outbound, minutes, errors FROM cid_daily WHERE site = 'north-1'")
[ "$got" = "4|1|6|1" ] || fail "cid_daily: $got"
got=$(psql_site "SELECT hour, inbound, outbound, minutes, days FROM cid_hourly
    WHERE site = 'north-1' ORDER BY hour")
[ "$got" = "0|1|0|0|1
12|3|0|4|1
23|0|1|2|1" ] || fail "cid_hourly: $got"

step "/init rebuilds summaries of an older layout from the calls"
summaries() {
    psql_site "SELECT * FROM cid_day_hours ORDER BY site, call_day, hour;
        SELECT * FROM cid_days ORDER BY 1, 2;
        SELECT * FROM cid_day_numbers ORDER BY 1, 2, 4, 5;
        SELECT * FROM cid_month_numbers ORDER BY 1, 2, 3"
}
want=$(summaries)
psql_site "DROP TABLE cid_days, cid_day_numbers, cid_day_hours CASCADE;
    CREATE TABLE cid_day_hours (site text, call_day date, hour smallint, records integer)" \
    >/dev/null
expect_exit 0 "$a" /init
got=$(summaries)
[ "$got" = "$want" ] && [ "$(echo "$got" | wc -l)" -eq 10 ] || fail "rebuilt summaries:
$got
wanted:
$want"
# A database of the round before the month summary: made and rolled up from the day summaries.
psql_site "DROP TABLE cid_month_numbers" >/dev/null
expect_exit 0 "$a" /init
got=$(summaries)
[ "$got" = "$want" ] || fail "month summary rolled up from the days:
$got
wanted:
$want"

step "/check for the technician"
check() {
    "$run" "$wine_dir" "$bin/check_probe.exe" "$(win_path "$1/Ringsync.exe")" \
        "$(win_path "$PG_WORK/check.txt")" >/dev/null 2>&1 || fail "no /check box in $1"
    tr -d '\r' <"$PG_WORK/check.txt"
}
got=$(check "$a")
case $got in
"exit=0"*"The settings are right"*"Site north-1: 5 calls at the head office"*) ;;
*) fail "/check: $got" ;;
esac

step "more calls, one in the minute of the last one sent"
fill_list "$a" "$t 23:59:00 I 5559990000 10 1 2 0 Late" "$t 23:58:00 I 5559990001 10 1 2 0 Late"
expect_exit 0 "$a" /once
expect_status "$a" sent 2
expect_status "$a" total 7

step "settings and faults: password in the INI, wrong password, unreachable server"
write_ini "$a" north-1 "$(pg_connection "$PG_PORT" ";PWD=x")" 60
expect_exit 2 "$a" /once
expect_status "$a" error "*must not hold a password*"
write_ini "$a" north-1 "$(pg_connection)" 1
expect_exit 2 "$a" /once
expect_status "$a" error "Interval in section CIDSync*"
write_ini "$a" north-1 "$(pg_connection)" 60
fill_list "$a" "$t 13:00:00 I 5557770000 10 1 2 0 During the fault"
cp "$PGPASSFILE" "$PG_WORK/pgpass.good"
echo "127.0.0.1:$PG_PORT:calls:store:wrong" >"$PGPASSFILE"
expect_exit 1 "$a" /once
expect_status "$a" result error
expect_status "$a" error "cannot connect to the head-office database: *password authentication failed*"
cp "$PG_WORK/pgpass.good" "$PGPASSFILE"
write_ini "$a" north-1 "$(pg_connection "$(pg_free_port)")" 60
expect_exit 1 "$a" /once
expect_status "$a" error "cannot connect to the head-office database: *onnection refused*"
write_ini "$a" north-1 "$(pg_connection)" 60
expect_exit 0 "$a" /once
expect_status "$a" sent 1
expect_status "$a" total 8

step "a second installation with a copied INI"
b=$(make_site b north-1)
fill_list "$b" "$t 09:00:00 I 5551110000 10 1 1 0 Other store"
expect_exit 1 "$b" /once
expect_status "$b" error "the site name north-1 belongs to another installation*"
got=$(check "$b")
case $got in
"exit=1"*"belongs to another installation"*) ;;
*) fail "/check of the second installation: $got" ;;
esac
count_is north-1 8 || fail "the other installation's call reached north-1"

step "log missing"
c=$(make_site c south-2)
expect_exit 1 "$c" /once
expect_status "$c" error "the call log DATA\\\\QuorlLog.OV5 does not exist*"

step "log locked by another program for longer than a pass"
fill_list "$c" "$t 10:00:00 I 5556660000 10 1 1 0 Locked" "$t 10:01:00 I 5556660001 10 1 1 0 Locked"
"$run" "$wine_dir" "$bin/hold_file.exe" "$(win_path "$c/DATA/QuorlLog.OV5")" none 8 \
    >/dev/null 2>&1 &
holder=$!
bg_pids=("$holder")
locked_pass() {
    local rc=0
    sync_cmd "$c" /once || rc=$?
    [ "$rc" -eq 1 ] && [[ $(status_value "$c" error) == *"holds it locked"* ]]
}
wait_for 6 locked_pass || fail "no locked pass: $(status_value "$c" error)"
expect_status "$c" result error
wait "$holder" || fail "the program holding the log failed"
bg_pids=()
expect_exit 0 "$c" /once
expect_status "$c" total 2
count_is south-2 2 || fail "the calls held back by the lock: $(site_count south-2)"

step "the real Ringhold logging calls while the background sync runs"
e=$PG_WORK/e
udp=$(pg_free_port)
ringhold_site "$e" "$udp" east-4
(cd "$e" && exec setsid "$run" "$wine_dir" "$e/Ringhold.exe" >/dev/null 2>&1) &
ringhold=$!
"$run" "$wine_dir" "$e/Ringsync.exe" >/dev/null 2>&1 &
live_sync=$!
bg_pids=("$ringhold" "$live_sync")
wait_for 60 test -f "$e/DATA/OvenCID.DAT" || fail "Ringhold did not start"
{
    for i in 1 2 3 4 5 6 7 8; do
        call="line=$(((i - 1) % 4 + 1)),dir=I,number=55512300$i$i,name=\"LIVE CALLER $i\""
        echo "call $call,event=S"
        echo "wait 200"
        echo "call $call,event=E,dur=$((i * 7)),rings=$(((i - 1) % 4 + 1))"
        echo "wait 500"
    done
} >"$PG_WORK/live.txt"
"$run" "$wine_dir" "$bin/unitsim.exe" --udp "127.0.0.1:$udp" \
    --scenario "$(win_path "$PG_WORK/live.txt")" --exit-after 300 >/dev/null 2>&1 ||
    fail "the simulated unit failed"
log_dump() { "$run" "$wine_dir" "$bin/call_log_dump.exe" "$(win_path "$e")\\" | tr -d '\r'; }
logged() { [ "$(log_dump | grep -c "LIVE CALLER")" -eq 8 ]; }
wait_for 60 logged || fail "Ringhold logged $(log_dump | grep -c "LIVE CALLER") of 8 calls"
wait_for 30 count_is east-4 8 || fail "the live calls at the server: $(site_count east-4)"
today=$(log_dump | sed -n 's/^today //p')
want=$(log_dump | tail -n +2 | awk -F '\t' -v OFS='|' \
    '{ sub(/ +$/, "", $5); print $1, $2, $3, $4, $5, $6, $7, $8, $10 }' | sort)
got=$(psql_site "SELECT call_day - current_date + $today, extract(epoch FROM call_time)::int,
    line, direction, number, name, duration_s, rings, extra_digits
    FROM cid_calls WHERE site = 'east-4'" | sort)
[ "$got" = "$want" ] || fail "the live calls at the server:
$got
in the log:
$want"
expect_exit 0 "$e" /stop
"$run" "$wine_dir" "$bin/ringctl.exe" end >/dev/null 2>&1 || fail "ringctl could not end Ringhold"
wait "$live_sync" "$ringhold" || true
bg_pids=()

step "background: two started at once, calls while it runs, the clock moved, /stop"
write_ini "$a" north-1 "$(pg_connection)" 5
"$run" "$wine_dir" "$a/Ringsync.exe" >"$PG_WORK/bg1.out" 2>&1 &
bg1=$!
"$run" "$wine_dir" "$a/Ringsync.exe" >"$PG_WORK/bg2.out" 2>&1 &
bg2=$!
bg_pids=("$bg1" "$bg2")
first_gone() { ! kill -0 "$bg1" 2>/dev/null || ! kill -0 "$bg2" 2>/dev/null; }
wait_for 120 first_gone || fail "neither background sync ended"
if kill -0 "$bg1" 2>/dev/null; then gone=$bg2 running=$bg1; else gone=$bg1 running=$bg2; fi
rc=0
wait "$gone" || rc=$?
[ "$rc" -eq 3 ] || fail "the second background sync exited $rc, not 3"
expect_exit 3 "$a" /once
# Yesterday's call (the clock set back a day) comes after today's were sent, then tomorrow's.
fill_list "$a" "$(day yesterday) 18:00:00 I 5552220000 10 1 1 0 Clock back"
wait_for 120 count_is north-1 9 || fail "yesterday's call did not arrive: $(site_count north-1)"
fill_list "$a" "$(day tomorrow) 08:00:00 I 5553330000 10 1 1 0 Clock forward" \
    "$t 14:00:00 I 5553330001 10 1 1 0 Clock right again"
wait_for 120 count_is north-1 11 || fail "the moved clock's calls did not arrive: $(site_count north-1)"
expect_exit 0 "$a" /stop
rc=0
wait "$running" || rc=$?
[ "$rc" -eq 0 ] || fail "the background sync exited $rc after /stop"
bg_pids=()
expect_exit 0 "$a" /stop

step "a purge at the site keeps everything at the server"
# The log rebuilt with the same records but those before today, as a purge leaves it.
grep -a -v "^$(day yesterday)" "$a.lines" >"$PG_WORK/kept.txt"
rm -f "$a/DATA/QuorlLog.OV5"
fill "$a" --list "$(win_path "$PG_WORK/kept.txt")"
expect_exit 0 "$a" /once
expect_status "$a" sent 0
expect_status "$a" total 11

step "the server stopped at once in the middle of a large pass, then started again"
big=$(make_site big west-3)
fill "$big" --calls 30000 --weeks 40
"$run" "$wine_dir" "$big/Ringsync.exe" /once >/dev/null 2>&1 &
once=$!
bg_pids=("$once")
some_sent() { [ "$(site_count west-3)" -gt 0 ]; }
wait_for 240 some_sent || fail "nothing of the large pass arrived"
pg_stop_immediate
rc=0
wait "$once" || rc=$?
bg_pids=()
pg_start
partial=$(site_count west-3)
echo "   $partial of 30000 at the server when it stopped; the pass exited $rc"
if [ "$rc" -ne 0 ]; then
    expect_status "$big" result error
    [ "$partial" -lt 30000 ] || fail "a failed pass left every record at the server"
fi
expect_exit 0 "$big" /once
expect_status "$big" total 30000
got=$(psql_site "SELECT (SELECT sum(records) FROM cid_day_hours WHERE site = 'west-3'),
    (SELECT count(DISTINCT (log_record, occurrence)) FROM cid_calls WHERE site = 'west-3')")
[ "$got" = "30000|30000" ] || fail "per-hour totals or identities after the cut: $got"
step "TLS: sslmode=require refused by a server without it, then a self-signed server"
write_ini "$a" north-1 "$(pg_connection "$PG_PORT" ";sslmode=require")" 60
fill_list "$a" "$t 15:00:00 I 5554440000 10 1 1 0 Over TLS"
expect_exit 1 "$a" /once
expect_status "$a" error "cannot connect to the head-office database: *SSL*"
openssl req -new -x509 -days 2 -nodes -subj /CN=127.0.0.1 -keyout "$PG_DATA/server.key" \
    -out "$PG_DATA/server.crt" >/dev/null 2>&1
chown postgres "$PG_DATA/server.key" "$PG_DATA/server.crt"
chmod 600 "$PG_DATA/server.key"
echo "ssl = on" >>"$PG_DATA/postgresql.conf"
pg_stop
pg_start
expect_exit 0 "$a" /once
expect_status "$a" sent 1
echo "PASS"
