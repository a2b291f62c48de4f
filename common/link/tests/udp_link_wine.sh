#!/usr/bin/env bash
# The UDP link under Wine on loopback, with unitsim as the unit: option set-up, the bounded
# wait for a reply, the sender filter and the receive time-out. On one computer the host and
# the unit need ports of their own, so the set-up sends to the unit's port, not its own.
set -euo pipefail
source "$(dirname "$0")/wine_link_common.sh"
skip_unless_wine_runs
HOST=$((20000 + RANDOM % 20000))
UNIT=$((HOST + 1))
UNIT_IP=127.0.0.5
OPTIONS_SENT="V option E option C option X option U option D option A option S option o option B option K option t V "

# The Linux unitsim: Wine does not send from the loopback address a program binds.
unitsim=$RING_BUILD_DIR/host/unitsim
start_unit() {
    local log=$1
    shift
    : >"$log"
    "$unitsim" --log "$log" "$@" &
    bg_pids+=($!)
    wait_for_line "$log" "udp listening"
}

# Waits until a local UDP port is bound (its local address in /proc/net/udp ends in the port).
wait_for_udp_port() {
    local hex n
    hex=$(printf '%04X' "$1")
    for n in $(seq 900); do
        awk -v p=":$hex" 'substr($2, length($2) - 4) == p { found = 1 } END { exit !found }' \
            /proc/net/udp && return 0
        sleep 0.1
    done
    echo "timed out waiting for UDP port $1 to be bound" >&2
    return 1
}

commands_of() { sed -n 's/^udp //p' "$1" | grep -v '^listening' | tr '\n' ' '; }

# setup NAME FILTER UNITIP TIMEOUTMS: runs the set-up and leaves "true|false" in $result and
# its duration in $took.
setup() {
    local out
    out=$(win udp_link_probe.exe setup $HOST $UNIT "$3" "$2" "$4")
    result=$(echo "$out" | awk '/^setup/ {print $2}')
    took=$(echo "$out" | awk '/^setup/ {print $3}')
}

echo "== unit option set-up"
setup_case() {
    local name=$1 filter=$2 expected=$3 commands=$4
    shift 4
    start_unit "$work/$name.log" --from $UNIT_IP --port $UNIT "$@"
    setup "$name" "$filter" $UNIT_IP 500
    expect_eq "$name: result" "$expected" "$result"
    expect_eq "$name: commands in order" "$commands" "$(commands_of "$work/$name.log")"
    kill_units
}
kill_units() {
    local pid
    for pid in "${bg_pids[@]}"; do
        pkill -TERM -P "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    bg_pids=()
}
setup_case filter-off 0 true "" --options ""
setup_case shows-options 1 true "V " --options "ECXUDASoBKt"
setup_case needs-options 1 true "$OPTIONS_SENT" --options ""
setup_case never-answers 1 false "$OPTIONS_SENT" --silent

setup "unit address 0" 1 0.0.0.0 500
expect_eq "filter on with unit address 0 fails" false "$result"

echo "== datagrams from this computer's own address"
LOCAL_IP=$(win udp_link_probe.exe localip)
echo "local address: $LOCAL_IP"
flood=$work/flood.txt
for n in $(seq 400); do
    printf 'raw ^^<U>0123456789ABCDEFV WRONG more\nwait 50\n' >>"$flood"
done
: >"$work/flood.log"
start_unit "$work/flood.log" --from "$LOCAL_IP" --udp 127.0.0.1:$HOST --scenario "$flood"
setup_case own-echo-skipped 1 true "V " --options "ECXUDASoBKt"
start_unit "$work/flood.log" --from "$LOCAL_IP" --udp 127.0.0.1:$HOST --scenario "$flood"
start_unit "$work/stream.log" --from $UNIT_IP --port $UNIT --silent
setup "steady stream" 1 $UNIT_IP 500
expect_eq "a steady stream from our own address ends the wait" false "$result"
# The stream kept each of the two queries waiting for its limit of three time-outs, and no more.
expect_eq "wait bounded (took ${took} ms)" yes \
    "$([ "$took" -ge 3000 ] && [ "$took" -lt 12000 ] && echo yes || echo no)"
kill_units

echo "== call reports, sender filter and receive time-out"
reports_case() {
    local name=$1 filter=$2 expected=$3
    : >"$work/$name.out"
    ("$RING_WINE_RUN" "$RING_WINE_DIR" "$RING_BIN/udp_link_probe.exe" reports $HOST $UNIT_IP \
        "$filter" 500 10 | tr -d '\r' >"$work/$name.out") &
    local probe=$!
    # The units send only once the probe listens: a cold Wine start can outlast their wait.
    wait_for_udp_port $HOST
    start_unit "$work/$name-unit.log" --from $UNIT_IP --udp 127.0.0.1:$HOST --wait 1500 \
        --call line=2,number=555-123-4567,name=FROM_UNIT --raw 'hello' --raw '^^<U>0123456789ABCDEF' \
        --exit-after 500
    start_unit "$work/$name-other.log" --from 127.0.0.9 --udp 127.0.0.1:$HOST --wait 2000 \
        --call line=3,number=PRIVATE,name=FROM_OTHER --exit-after 500
    wait $probe
    expect_eq "$name: reports taken" "$expected" \
        "$(grep -o "name=[A-Z_]*\|FROM_[A-Z]*" "$work/$name.out" | tr '\n' ' ')"
    # An empty pass waits the time-out, no less and not much more.
    expect_eq "$name: time-out honoured" yes "$(awk '/^report .. / {if ($3 >= 450 && $3 <= 1500) ok=1} END {print ok ? "yes" : "no"}' "$work/$name.out")"
    kill_units
}
reports_case filter-on 1 "FROM_UNIT "
reports_case filter-off 0 "FROM_UNIT FROM_OTHER "

[ $failures -eq 0 ]
