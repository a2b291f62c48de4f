#!/usr/bin/env bash
# Not a test: a head office of 100 sites with a year each (about 3.6 million calls). 99 sites are
# loaded by SQL in the layout Ringsync writes (the per-hour totals follow through the schema's
# trigger), then one site's year goes through Ringsync; last, a call logged by the real Ringhold
# from a simulated unit is timed to the server with the background sync at Interval=5, and the
# head office's two reports over all sites' year through RingHQ's window (the test host that
# drives it, where the build has one), each written as PDF unattended.
#   sync/bench/chain_bench.sh BUILD_DIR [--keep]
# --keep leaves the server running at the end (its connection string is printed) so that the
# head office's reports can be timed over the same rows; stop it with the printed command.
set -euo pipefail
build=$(cd "$1" && pwd)
keep=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
run=$here/../../cmake/wine-run
bin=$build/bin
PG_WORK=$(mktemp -d)
wine_dir=$PG_WORK/wine
source "$here/../tests/pg_server.sh"
source "$here/../tests/ringhold_site.sh"
ringhold_dir=
finish() {
    if [ -n "$ringhold_dir" ]; then
        "$run" "$wine_dir" "$ringhold_dir/Ringsync.exe" /stop || true
        "$run" "$wine_dir" "$bin/ringctl.exe" end >/dev/null 2>&1 || true
    fi
    "$here/../../cmake/wine-env" stop "$wine_dir" || true
    if [ "$keep" = --keep ]; then
        echo "server kept: $(pg_connection) (PGPASSFILE=$PGPASSFILE)"
        echo "stop it with: runuser -u postgres -- $PG_BIN/pg_ctl -D $PG_DATA stop; rm -rf $PG_WORK"
    else
        pg_stop
        rm -rf "$PG_WORK"
    fi
}
trap finish EXIT

seconds_since() { echo "$(date +%s.%N) - $1" | bc; }

pg_init
# A prefix of its own whose windows are not handed to a window manager: on a bare Xvfb each
# hidden window otherwise waits 2 s for one, which is Wine's and not the reports' time.
"$here/../../cmake/wine-env" start "$wine_dir" "$(cat "$build/wine/arch")" >/dev/null
"$run" "$wine_dir" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
site=$PG_WORK/site
mkdir -p "$site/DATA"
cp "$bin/Ringsync.exe" "$bin/KEYFILE.dll" "$bin/Pantry.dll" "$site/"
printf '[CIDSync]\r\nConnection=%s\r\nSite=site-100\r\n' "$(pg_connection)" >"$site/POSOvena.INI"
"$run" "$wine_dir" "$site/Ringsync.exe" /init

echo "loading 99 sites of 36,500 calls each"
start=$(date +%s.%N)
for s in $(seq 1 99); do
    psql_site "INSERT INTO cid_sites (site, installation_id) VALUES ('site-$s', 'bulk-$s');
    INSERT INTO cid_calls (site, call_day, call_time, number, name, extra_digits, duration_s,
        line, rings, direction, start_only, caller_id_error, log_record, occurrence)
    SELECT 'site-$s', current_date - 364 + i % 365,
           time '10:00' + (i * 7919 % 46800) * interval '1 second',
           '555' || lpad((i::bigint * 104729 % 10000000)::text, 7, '0'), 'CALLER ' || i % 97, '',
           i * 37 % 600, 1 + i % 4, 1 + i % 5, CASE WHEN i % 5 = 0 THEN 'O' ELSE 'I' END,
           false, i % 50 = 0, decode(lpad(to_hex(i), 258, '0'), 'hex'), 0
    FROM generate_series(0, 36499) AS i" >/dev/null
done
psql_site "ANALYZE cid_calls; ANALYZE cid_day_hours; ANALYZE cid_days; ANALYZE cid_day_numbers;
    ANALYZE cid_sites" >/dev/null
printf 'bulk load: %.0f s, %s rows, %s per-hour totals\n' "$(seconds_since "$start")" \
    "$(psql_site "SELECT count(*) FROM cid_calls")" "$(psql_site "SELECT count(*) FROM cid_day_hours")"

echo "one site's year through Ringsync"
win=$(echo "Z:$site" | tr / '\\')
"$run" "$wine_dir" "$bin/callfill.exe" "$win" --calls 36500 --weeks 52 >/dev/null
start=$(date +%s.%N)
"$run" "$wine_dir" "$site/Ringsync.exe" /once
printf 'first sync of one site: %.1f s, %s\n' "$(seconds_since "$start")" \
    "$(tr -d '\r' <"$site/DATA/QuorlSync.txt" | grep -E '^(sent|total)=' | tr '\n' ' ')"
echo "server rows: $(psql_site "SELECT count(*) FROM cid_calls")"

echo "a call logged by Ringhold, with the background sync at Interval=5"
ringhold_dir=$PG_WORK/live
udp=$(pg_free_port)
ringhold_site "$ringhold_dir" "$udp" live
(cd "$ringhold_dir" && exec setsid "$run" "$wine_dir" "$ringhold_dir/Ringhold.exe" >/dev/null 2>&1) &
for _ in $(seq 120); do [ -f "$ringhold_dir/DATA/OvenCID.DAT" ] && break; sleep 0.5; done
"$run" "$wine_dir" "$ringhold_dir/Ringsync.exe" >/dev/null 2>&1 &
sleep 12 # a pass or two first, so the call lands at a random point of the interval
for n in 1 2 3; do
    call="line=1,dir=I,number=555777000$n,name=\"LIVE $n\""
    printf 'call %s,event=S\nwait 100\ncall %s,event=E,dur=20,rings=2\n' "$call" "$call" \
        >"$PG_WORK/live.txt"
    "$run" "$wine_dir" "$bin/unitsim.exe" --udp "127.0.0.1:$udp" \
        --scenario "$(echo "Z:$PG_WORK/live.txt" | tr / '\\')" --exit-after 100 >/dev/null
    start=$(date +%s.%N)
    until [ "$(psql_site "SELECT count(*) FROM cid_calls WHERE site = 'live'")" -ge "$n" ]; do
        sleep 0.2
    done
    printf 'call %s: at the server %.1f s after the unit reported its end\n' "$n" \
        "$(seconds_since "$start")"
    sleep $((n * 2))
done

[ -f "$bin/hq_host.exe" ] || { echo "no hq_host.exe in $bin: RingHQ's reports not timed"; exit 0; }
hq=$PG_WORK/hq
mkdir -p "$hq"
for f in hq_host.exe PRNVIEW32.dll Reptopt.dll Pantry.dll KEYFILE.dll; do cp "$bin/$f" "$hq/"; done
printf '[HQ]\r\nConnection=%s\r\nName=Bench HQ\r\n' "$(pg_connection)" >"$hq/RingHQ.INI"
from=$(date -d "364 days ago" +%m-%d-%Y)
to=$(date +%m-%d-%Y)
for report in stats compare stats compare; do
    export PRNVIEW32_PDF
    PRNVIEW32_PDF=$(echo "Z:$PG_WORK/$report.pdf" | tr / '\\')
    start=$(date +%s.%N)
    "$run" "$wine_dir" "$hq/hq_host.exe" "$report" "All sites" "$from" 00:00:00 "$to" 23:59:59 254 \
        >"$PG_WORK/$report.out"
    printf 'RingHQ %s, All sites, %s to %s: %.1f s (window start to PDF written, %s bytes)\n' \
        "$report" "$from" "$to" "$(seconds_since "$start")" "$(stat -c %s "$PG_WORK/$report.pdf")"
done
