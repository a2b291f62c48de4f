#!/usr/bin/env bash
# Not a test: the first sync of a site's year (36,500 calls) to a PostgreSQL server of its own,
# and a second pass over the same log, with the wall time of each printed.
#   sync/bench/first_sync_bench.sh BUILD_DIR   (a win32 or win64 tree with Ringsync and callfill)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
run=$here/../../cmake/wine-run
wine_dir=$build/wine
bin=$build/bin
PG_WORK=$(mktemp -d)
source "$here/../tests/pg_server.sh"
trap 'pg_stop; rm -rf "$PG_WORK"' EXIT

pg_init
site=$PG_WORK/site
mkdir -p "$site/DATA"
cp "$bin/Ringsync.exe" "$bin/KEYFILE.dll" "$bin/Pantry.dll" "$site/"
printf '[CIDSync]\r\nConnection=%s\r\nSite=bench\r\n' "$(pg_connection)" >"$site/POSOvena.INI"
win=$(echo "Z:$site" | tr / '\\')
echo "filling a year of calls"
"$run" "$wine_dir" "$bin/callfill.exe" "$win" --calls 36500 --weeks 52 >/dev/null
"$run" "$wine_dir" "$site/Ringsync.exe" /init
for pass in first second; do
    start=$(date +%s.%N)
    "$run" "$wine_dir" "$site/Ringsync.exe" /once
    end=$(date +%s.%N)
    printf '%s pass: %.1f s, %s\n' "$pass" "$(echo "$end - $start" | bc)" \
        "$(tr -d '\r' <"$site/DATA/QuorlSync.txt" | grep -E '^(sent|total)=' | tr '\n' ' ')"
done
