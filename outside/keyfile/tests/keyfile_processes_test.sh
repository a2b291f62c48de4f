#!/usr/bin/env bash
# Several processes on one call log at once: an inserter, a purge of old records and a scan of a
# key range; afterwards every record inserted is there exactly once unless the purge deleted it.
# Then a scan holds what it read ahead while another process deletes records among them and
# beyond them, and finds the records inserted after its end. Then an inserter is killed
# mid-stream: every insert it reported done is still in the file.
#   keyfile_processes_test.sh WORKER   (under Wine when RING_WINE_RUN is set)
set -euo pipefail
worker=$1
dir=$(mktemp -d "${TMPDIR:-/tmp}/keyfile_processes.XXXXXX")
mkdir "$dir/hold"
# A failed check must not leave the workers running: they end once they see these files.
trap 'touch "$dir/stop" "$dir/hold/go" "$dir/hold/again"; wait; rm -rf "$dir"' EXIT

run() {
    local rc=0
    if [ -n "${RING_WINE_RUN:-}" ]; then
        "$RING_WINE_RUN" "$RING_WINE_DIR" "$worker" "$@" || rc=$?
    else
        "$worker" "$@" || rc=$?
    fi
    [ $rc -ne 77 ] || exit 77 # this machine cannot run the build's programs: skipped
    return $rc
}
# The worker's name for a file of ours.
name() {
    if [ -n "${RING_WINE_RUN:-}" ]; then
        local p=$1
        echo "Z:${p//\//\\}"
    else
        echo "$1"
    fi
}
fail() {
    echo "FAIL: $*" >&2
    exit 1
}
wait_for() {
    for _ in $(seq 3000); do
        [ -e "$1" ] && return
        sleep 0.1
    done
    fail "no $1 after 300 s"
}

# Days 40000 to 40049; the purge removes days before 40025, the scan reads 40010 to 40040.
count=1500
log=$(name "$dir/calls.OV5")
stop=$(name "$dir/stop")
run create "$log" >/dev/null || fail "create"
run purge "$log" 40025 "$stop" >"$dir/purge.out" 2>&1 &
purge=$!
run scan "$log" 40010 40040 "$stop" >"$dir/scan.out" 2>&1 &
scan=$!
run insert "$log" 0 $count >"$dir/insert.out" 2>&1 || fail "inserter: $(grep failed "$dir/insert.out")"
touch "$dir/stop"
wait $purge || fail "purge: $(grep failed "$dir/purge.out")"
wait $scan || fail "scan: $(grep failed "$dir/scan.out")"
run dump "$log" >"$dir/dump.out" 2>&1 || fail "dump"
sed -i 's/\r$//' "$dir"/*.out # Windows programs end lines with CR LF

awk '$1 == "inserted" { print $2 }' "$dir/insert.out" | sort >"$dir/inserted"
awk '$1 == "deleted" { print $2 }' "$dir/purge.out" | sort >"$dir/deleted"
awk '$1 == "record" { print $2 }' "$dir/dump.out" | sort >"$dir/present"
[ "$(wc -l <"$dir/inserted")" -eq $count ] || fail "inserter reported $(wc -l <"$dir/inserted") inserts"
[ -z "$(uniq -d "$dir/deleted")" ] || fail "deleted twice: $(uniq -d "$dir/deleted" | head -3)"
[ -z "$(uniq -d "$dir/present")" ] || fail "present twice: $(uniq -d "$dir/present" | head -3)"
comm -23 "$dir/inserted" "$dir/deleted" >"$dir/expected"
cmp -s "$dir/expected" "$dir/present" ||
    fail "present records differ from inserted minus deleted: $(diff "$dir/expected" "$dir/present" | head -5)"
old=$(awk '$1 == "record" && $3 < 40025' "$dir/dump.out" | wc -l)
[ "$old" -eq 0 ] || fail "$old old records survived the purge"
echo "concurrent: $count inserted, $(wc -l <"$dir/deleted") purged, $(wc -l <"$dir/present") left;" \
    "$(grep scanned "$dir/scan.out")"

# The scan's first get-next reads the 2nd to 17th records in key order ahead and returns the
# 2nd; records among the rest may still come after another process deleted them, records
# beyond them never do.
held=$(name "$dir/held.OV5")
run create "$held" >/dev/null || fail "create"
run insert "$held" 0 300 >/dev/null || fail "insert for the held scan"
run dump "$held" | tr -d '\r' | awk '$1 == "record" { print $2 }' >"$dir/order"
run hold-scan "$held" "$(name "$dir/hold")" >"$dir/hold.out" 2>&1 &
holder=$!
wait_for "$dir/hold/held"
sed -n '5,10p' "$dir/order" >"$dir/inside"
sed -n '41,60p' "$dir/order" >"$dir/beyond"
run delete "$held" $(cat "$dir/inside" "$dir/beyond") >/dev/null || fail "delete"
touch "$dir/hold/go"
wait_for "$dir/hold/ended"
run insert-late "$held" 300 5 >/dev/null || fail "insert after the end"
touch "$dir/hold/again"
wait $holder || fail "held scan: $(grep failed "$dir/hold.out")"
sed -i 's/\r$//' "$dir/hold.out"
awk '$1 == "end" { exit } $1 == "record" { print $2 }' "$dir/hold.out" >"$dir/first"
awk '$1 == "end" { pass++ } $1 == "record" && pass == 1 { print $2 }' "$dir/hold.out" >"$dir/later"
grep -vxF -f "$dir/inside" "$dir/order" | grep -vxF -f "$dir/beyond" >"$dir/kept"
cmp -s "$dir/kept" <(grep -vxF -f "$dir/inside" "$dir/first") ||
    fail "held scan: not every kept record once, or a record deleted beyond what it read ahead"
cmp -s "$dir/first" <(grep -xF -f "$dir/first" "$dir/order") || fail "held scan out of key order"
run dump "$held" | tr -d '\r' | awk '$1 == "record" { print $2 }' | tail -n 5 >"$dir/late"
cmp -s "$dir/late" "$dir/later" || fail "after its end the scan found $(tr '\n' ' ' <"$dir/later")"
echo "held scan: $(grep -cxF -f "$dir/inside" "$dir/first") of 6 records deleted among those" \
    "read ahead came, none of 20 beyond; $(wc -l <"$dir/later") records found after the end"

# Kill an inserter once it has reported some inserts; a read-only open must then find all of them
# (and roll back whatever the killed process left half-written).
killed=$(name "$dir/killed.OV5")
progress="$dir/progress"
run create "$killed" >/dev/null || fail "create"
run insert-until-killed "$killed" "$(name "$progress")" >/dev/null 2>&1 &
inserter=$!
for _ in $(seq 600); do
    [ -s "$progress" ] && [ "$(wc -l <"$progress")" -ge 40 ] && break
    sleep 0.1
done
[ -s "$progress" ] || fail "the inserter reported nothing"
pid=$(tail -n 1 "$progress" | tr -d '\r' | awk '{ print $3 }')
if [ -n "${RING_WINE_RUN:-}" ]; then
    "$RING_WINE_RUN" "$RING_WINE_DIR" taskkill /F /PID "$pid" >/dev/null
else
    kill -9 "$pid"
fi
wait $inserter || true
# Only complete lines count: the kill may cut the last one.
last=$(tr -d '\r' <"$progress" | grep -E '^inserted [0-9]+ [0-9]+$' | tail -n 1 | awk '{ print $2 }')
run dump "$killed" >"$dir/killed.out" 2>&1 || fail "dump after kill: $(cat "$dir/killed.out")"
sed -i 's/\r$//' "$dir/killed.out"
awk '$1 == "record" { print $2 }' "$dir/killed.out" | sort >"$dir/survivors"
[ -z "$(uniq -d "$dir/survivors")" ] || fail "a record is present twice after the kill"
missing=$(seq 0 "$last" | sort | comm -23 - "$dir/survivors" | head -3)
[ -z "$missing" ] || fail "records reported inserted but lost by the kill: $missing"
echo "killed after insert $last: $(wc -l <"$dir/survivors") records survive"
