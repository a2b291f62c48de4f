#!/usr/bin/env bash
# The serial link under Wine on a pseudo-terminal pair, with unitsim as the unit: line
# assembly across reads, ports that cannot be opened, and the unit option set-up.
set -euo pipefail
source "$(dirname "$0")/wine_link_common.sh"
skip_unless_wine_runs
HOST=5 UNIT=6

# unitsim on the unit end, ready before the probe opens the host end.
start_unit() {
    local log=$1
    shift
    : >"$log"
    win_bg unitsim.exe --serial "COM$UNIT" --log "$log" "$@"
    wait_for_line "$log" "serial open"
}

echo "== a report split over two reads, then an over-long line and a good one"
start_pty_pair $HOST $UNIT
start_unit "$work/split.log" --wait 1500 --raw "01 I S 0000 G  1 12/07 10:14 PM 555" --wait 500 \
    --raw '-123-4567\r\n' --long 5000 --raw '\r\nafter\r\n' --exit-after 3000
got=$(win serial_link_probe.exe $HOST poll 4000)
expect_eq "split report whole, over-long line dropped" \
    "$(printf "open ok\nline '01 I S 0000 G  1 12/07 10:14 PM 555-123-4567'\nline 'after'")" "$got"
stop_pty_pair

echo "== several reports in one read, control bytes"
start_pty_pair $HOST $UNIT
start_unit "$work/burst.log" --wait 1500 --raw 'first\r\nsecond\r\na\tb\rc\nd\x00e\r\n' --exit-after 3000
got=$(win serial_link_probe.exe $HOST sleep 2500 read read read read)
expect_eq "one line per call; TAB and NUL dropped, lone CR and LF kept" \
    "$(printf "open ok\nline 'first'\nline 'second'\nline 'ab\\\\x0Dc\\\\x0Ade'\nline ''")" "$got"
stop_pty_pair

echo "== ports that cannot be opened"
touch "$work/disk"
ln -sfn "$work/disk" "$prefix/dosdevices/com8"
com_links+=("$prefix/dosdevices/com8")
rm -f "$prefix/dosdevices/com7"
for sel in 0 7 8 9; do
    rc=0
    got=$(win serial_link_probe.exe $sel) || rc=$?
    expect_eq "COM$sel refused" "open failed 1" "$got $rc"
done

echo "== unit option set-up"
setup_case() {
    local name=$1 expected=$2 commands=$3
    shift 3
    start_pty_pair $HOST $UNIT
    start_unit "$work/$name.log" "$@"
    got=$(win serial_link_probe.exe $HOST setup)
    expect_eq "$name: result" "$(printf "open ok\nsetup %s" "$expected")" "$got"
    expect_eq "$name: commands in order" "$commands" \
        "$(sed -n 's/^serial //p' "$work/$name.log" | grep -v '^open' | tr '\n' ' ')"
    stop_pty_pair
}
setup_case shows-options true "V " --options "QECXUDASoBKtZ"
setup_case needs-options true "V option E option C option X option U option D option A option S option o option B option K option t V " --options ""
setup_case wrong-case true "V option E option C option X option U option D option A option S option o option B option K option t V " --options "ECXUDASOBKT"
setup_case never-answers false "V option E option C option X option U option D option A option S option o option B option K option t V " --silent --options ""

[ $failures -eq 0 ]
