#!/usr/bin/env bash
# The log purge under Wine: the real purge dialog typed into and clicked, its message boxes
# read and answered, on call logs seeded through KEYFILE; and a purge racing the server's own
# logging calls on the same log.
set -euo pipefail
source "$RING_SOURCE_DIR/common/link/tests/wine_link_common.sh"
skip_unless_wine_runs

# A program directory on tmpfs where there is one: every insert and delete is a synced commit.
base=$work
[ -d /dev/shm ] && [ -w /dev/shm ] && base=$(mktemp -d /dev/shm/ringtune-purge.XXXXXX)
trap 'rm -rf "${base:?}"; cleanup' EXIT
windows_path() { echo "Z:$(echo "$1" | tr / '\\')\\"; }

new_dir() {
    local d=$base/$1
    mkdir -p "$d/DATA"
    dir=$(windows_path "$d")
}
host() { win purge_host.exe "$@"; }
boxes() { grep -E '^box ' <<<"$out" | cut -d' ' -f2- | tr '\n' ';'; }
line_of() { grep "^$1 " <<<"$out" | head -1 | cut -d' ' -f2-; }

echo "== no call log"
new_dir nofile
out=$(host purge "$dir" 31)
expect_eq "message" "File Not Found!|No Log File To Purge;" "$(boxes)"

echo "== days typed: too few, not a number, empty, too many"
new_dir days
host seed "$dir" 3 2 >/dev/null
out=$(host purge "$dir" 30 abc "" 99999999)
expect_eq "messages" "Error!|Days Must Be Greater than 30!;Error!|Days Must Be Greater than 30!;Error!|Days Must Be Greater than 30!;Error!|Too Many Days Back!;" "$(boxes)"
out=$(host audit "$dir" 0)
expect_eq "nothing deleted" "5" "$(line_of seed)"

echo "== 31 days, then a second Go"
out=$(host purge "$dir" 31 31)
expect_eq "old ones, then nothing more" "Done!|3 records deleted!;Done!|0 records deleted!;" "$(boxes)"
expect_eq "controls enabled again" " 200=1 210=1 140=1 open" "$(grep '^after run' <<<"$out" | tail -1 | cut -c10-)"
out=$(host audit "$dir" 31)
expect_eq "recent ones kept" "old 0 seed 2" "$(line_of old | sed 's/^/old /') $(line_of seed | sed 's/^/seed /')"

echo "== every record old enough: all deleted, no error"
new_dir allold
host seed "$dir" 4 0 >/dev/null
out=$(host purge "$dir" 31)
expect_eq "message" "Done!|4 records deleted!;" "$(boxes)"
out=$(host audit "$dir" 0)
expect_eq "log empty" "0" "$(line_of seed)"

echo "== a log without records, and a file that is no call log"
new_dir empty
host seed "$dir" 0 0 >/dev/null
out=$(host purge "$dir" 31)
expect_eq "no records" "Bad Count!|No Records to Process;" "$(boxes)"
new_dir damaged
echo "not a record file" >"$base/damaged/DATA/QuorlLog.OV5"
out=$(host purge "$dir" 31)
expect_eq "cannot open" "KF Error!|Error Opening File!;" "$(boxes)"

echo "== a purge racing the server's logging"
SEEDED=${RING_PURGE_RACE_RECORDS:-4000}
new_dir race
host seed "$dir" $SEEDED 0 >/dev/null
started=$base/race/started stop=$base/race/stop
("$RING_WINE_RUN" "$RING_WINE_DIR" "$RING_BIN/call_logger.exe" "$dir" "${dir}started" "${dir}stop" |
    tr -d '\r' >"$work/logger.out") &
logger=$!
# The server logs before the purge starts and goes on until after it ended.
for _ in $(seq 600); do
    [ -e "$started" ] && break
    sleep 0.1
done
out=$(host purge "$dir" 31)
touch "$stop"
wait $logger
logged=$(sed -n 's/^logged //p' "$work/logger.out")
echo "server logged $logged calls"
expect_eq "count of the seeded old records" "Done!|$SEEDED records deleted!;" "$(boxes)"
expect_eq "controls disabled during the run, close attempts ignored" " 200=0 210=0 140=0" \
    "$(grep '^during run' <<<"$out" | cut -c11-)"
expect_eq "enabled after it, dialog still open" " 200=1 210=1 140=1 open" \
    "$(grep '^after run' <<<"$out" | cut -c10-)"
out=$(host audit "$dir" 31)
expect_eq "nothing at or before the cut-off" "0" "$(line_of old)"
expect_eq "no seeded record left" "0" "$(line_of seed)"
expected=$(for n in $(seq "$logged"); do printf 'W%05d 1\n' "$n"; done)
expect_eq "every logged call there exactly once" "$expected" "$(sed -n 's/^name //p' <<<"$out")"

[ $failures -eq 0 ]
