#!/usr/bin/env bash
# Unit detection and the About box's unit line under Wine, against the Linux unitsim: serial
# units on pseudo-terminals mapped as COM ports, network units on loopback. COM1 to COM8 are
# mapped explicitly for every serial case (Wine maps COM1 to /dev/ttyS0 by itself).
set -euo pipefail
source "$RING_SOURCE_DIR/common/link/tests/wine_link_common.sh"
skip_unless_wine_runs
unitsim=$RING_BUILD_DIR/host/unitsim
HOST=$((20000 + RANDOM % 20000))
UNIT=$((HOST + 1))
UNIT_IP=127.0.0.2
fds=()
# The broadcast case's network namespaces, removed however the script ends.
ns_u=ringu$$ ns_n=ringn$$
ns_wine=$work/nswine
netns_cleanup() {
    ip netns exec $ns_u "$RING_SOURCE_DIR/cmake/wine-env" stop "$ns_wine" >/dev/null 2>&1 || true
    ip netns del $ns_u 2>/dev/null || true
    ip netns del $ns_n 2>/dev/null || true
}
trap 'stop_all; netns_cleanup; cleanup' EXIT

stop_all() {
    local pid fd
    for pid in "${bg_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    bg_pids=()
    for fd in "${fds[@]}"; do
        eval "exec $fd<&-"
    done
    fds=()
}

# Every COM port missing: a link to a path that does not exist.
unmap_all_ports() {
    local n
    for n in 1 2 3 4 5 6 7 8; do
        ln -sfn "$work/missing/com$n" "$prefix/dosdevices/com$n"
        com_links+=("$prefix/dosdevices/com$n")
    done
}

# serial_unit N LOG ARGS...: a unitsim on a pseudo-terminal whose other end is COM N. The
# script holds both ends open, since socat ends when the last program closes one.
serial_unit() {
    local n=$1 log=$2 d=$work/pty$1
    shift 2
    mkdir -p "$d"
    socat pty,raw,echo=0,link="$d/unit" pty,raw,echo=0,link="$d/host" &
    bg_pids+=($!)
    for _ in $(seq 50); do
        [ -e "$d/unit" ] && [ -e "$d/host" ] && break
        sleep 0.1
    done
    local fd=$((10 + n))
    eval "exec $fd<>\"$d/host\""
    fds+=($fd)
    ln -sfn "$d/host" "$prefix/dosdevices/com$n"
    : >"$log"
    "$unitsim" --serial "$d/unit" --log "$log" "$@" &
    bg_pids+=($!)
    wait_for_line "$log" "serial open"
}

udp_unit() {
    local log=$1
    shift
    : >"$log"
    "$unitsim" --log "$log" "$@" &
    bg_pids+=($!)
    wait_for_line "$log" "udp listening"
}

host() { win detect_host.exe "$@"; }

# A positive search may lose a race with a slow machine: up to three tries.
host_until() {
    local wanted=$1 try
    shift
    for try in 1 2 3; do
        out=$(host "$@")
        grep -qF -- "$wanted" <<<"$out" && return 0
        echo "try $try: $(tr '\n' ';' <<<"$out")"
    done
}

line_of() { grep "^$1 " <<<"$out" | head -1 | cut -d' ' -f2-; }

echo "== a port mapped to a missing path cannot be opened"
unmap_all_ports
expect_eq "COM1 missing" "open failed" "$(win serial_link_probe.exe 1)"

echo "== '#' on COM3 while COM1 is missing"
unmap_all_ports
serial_unit 3 "$work/com3.log"
host_until "box Unit Found!" detect 0 $HOST $UNIT 500
expect_eq "message" "Unit Found!|Quorl Vezedud Unit found on COM3" "$(line_of box)"
expect_eq "port list" "COM3" "$(line_of port)"
expect_eq "PortSel" "3" "$(line_of portsel)"
expect_eq "not busy afterwards" "0" "$(line_of busy)"
stop_all

echo "== another character on COM1: the search goes on"
unmap_all_ports
serial_unit 1 "$work/com1.log" --probe-answer '!'
serial_unit 2 "$work/com2.log"
host_until "box Unit Found!" detect 0 $HOST $UNIT 500
expect_eq "found on COM2, not COM1" "Unit Found!|Quorl Vezedud Unit found on COM2" "$(line_of box)"
expect_eq "COM1 was asked" "yes" "$(grep -q '^serial @' "$work/com1.log" && echo yes || echo no)"
stop_all

echo "== no unit anywhere"
unmap_all_ports
out=$(host detect 0 $HOST $UNIT 500)
expect_eq "message" "Unit Not Found!|Could Not Find Quorl Vezedud Unit" "$(line_of box)"
expect_eq "port list unchanged" "" "$(line_of port)"
expect_eq "PortSel unchanged" "0" "$(line_of portsel)"
expect_eq "filter unchanged" "0" "$(line_of filter)"

echo "== a Lite model skips the serial search and finds the unit on the network"
unmap_all_ports
serial_unit 1 "$work/lite-com1.log"
udp_unit "$work/lite-udp.log" --from $UNIT_IP --port $UNIT
host_until "box Unit Found!" detect 1 $HOST $UNIT 1000 $UNIT_IP
expect_eq "message" "Unit Found!|Unit Found at $UNIT_IP" "$(line_of box)"
expect_eq "port list" "IP UDP/IP" "$(line_of port)"
expect_eq "filter checked" "1" "$(line_of filter)"
expect_eq "address" "$UNIT_IP" "$(line_of address)"
expect_eq "PortSel" "9" "$(line_of portsel)"
expect_eq "no probe on COM1" "" "$(grep '^serial @' "$work/lite-com1.log" || true)"
expect_eq "one identify request" "IdX" "$(sed -n 's/^udp //p' "$work/lite-udp.log" | grep -v listening)"
stop_all

echo "== the UDP port is held: no search"
unmap_all_ports
udp_unit "$work/held.log" --port $HOST
out=$(host detect 1 $HOST $UNIT 500 $UNIT_IP)
expect_eq "message" "Unit Not Found!|Could Not Find Quorl Vezedud Unit" "$(line_of box)"
out=$(host info 1 "IP UDP/IP" $HOST $UNIT 500 $UNIT_IP)
expect_eq "About line" "Cannot Start IP Session!" "$(line_of info)"
stop_all

echo "== About line, network"
udp_unit "$work/info.log" --from $UNIT_IP --port $UNIT
host_until "info IP" info 1 "IP UDP/IP" $HOST $UNIT 1000 $UNIT_IP
expect_eq "Lite: identify fields" "IP $UNIT_IP:$UNIT  Serial# 01-02-030405-06" "$(line_of info)"
host_until "info UNITSIM" info 0 "IP UDP/IP" $HOST $UNIT 1000 $UNIT_IP
expect_eq "model 0: option state reply" "UNITSIM-8 ECXUDASoBKt LINES 08 FW 1.00 SIM" "$(line_of info)"
stop_all
out=$(host info 0 "IP UDP/IP" $HOST $UNIT 500 $UNIT_IP)
expect_eq "no unit" "No Unit Found" "$(line_of info)"

echo "== About line, serial (the real box)"
unmap_all_ports
serial_unit 2 "$work/about2.log"
host_until "about UNITSIM" about 0 COM2
expect_eq "model 0 on COM2" "UNITSIM-8 ECXUDASoBKt LINES 08 FW 1.00 SIM" "$(line_of about)"
stop_all
serial_unit 2 "$work/silent2.log" --silent
out=$(host about 0 COM2)
expect_eq "silent unit" "Error Retriving Data" "$(line_of about)"
stop_all
out=$(host about 0 COM4)
expect_eq "missing port" "Port Error Opening COM4" "$(line_of about)"
out=$(host about 1 COM4)
expect_eq "Lite model on a serial port" "Not Available for LITE or POS Units in Serial Mode." "$(line_of about)"

echo "== the broadcast path: filter checked with 0.0.0.0"
# The utility in a network namespace of its own whose only way out leads to the unit's
# namespace, so its limited broadcast reaches the unit and nothing else. Wine creates sockets
# in its wineserver, so the utility gets a wineserver and prefix of its own in there.
if ip netns add $ns_u 2>/dev/null && ip netns add $ns_n 2>/dev/null &&
    ip link add vu$$ type veth peer name vn$$ 2>/dev/null; then
    ip link set vu$$ netns $ns_u
    ip link set vn$$ netns $ns_n
    ip -n $ns_u addr add 10.231.0.1/24 dev vu$$
    ip -n $ns_n addr add 10.231.0.2/24 dev vn$$
    for ns in $ns_u $ns_n; do ip -n $ns link set lo up; done
    ip -n $ns_u link set vu$$ up
    ip -n $ns_n link set vn$$ up
    ip -n $ns_u route add default dev vu$$
    : >"$work/bcast.log"
    ip netns exec $ns_n "$unitsim" --port $UNIT --log "$work/bcast.log" &
    bg_pids+=($!)
    wait_for_line "$work/bcast.log" "udp listening"
    DISPLAY=$(cat "$RING_WINE_DIR/display") ip netns exec $ns_u \
        "$RING_SOURCE_DIR/cmake/wine-env" start "$ns_wine" "$(cat "$RING_WINE_DIR/arch")" >/dev/null
    ns_host() { ip netns exec $ns_u "$RING_WINE_RUN" "$ns_wine" "$RING_BIN/detect_host.exe" "$@" | tr -d '\r'; }
    for try in 1 2 3; do
        out=$(ns_host detect 1 $HOST $UNIT 1000 0.0.0.0)
        grep -q "box Unit Found!" <<<"$out" && break
    done
    expect_eq "found by broadcast" "Unit Found!|Unit Found at 10.231.0.2" "$(line_of box)"
    expect_eq "address entered" "10.231.0.2" "$(line_of address)"
    stop_all
    netns_cleanup
else
    netns_cleanup
    echo "skipped: the broadcast path needs network namespaces (ip netns), not available here"
fi

[ $failures -eq 0 ]
