#!/usr/bin/env bash
# Runs the serial-link end-to-end tests: a pseudo-terminal pair from socat whose ends are mapped
# into the Wine prefix as the server's port (COM5) and the simulated unit's port (COM6).
#   serial_link_test.sh TEST_PROGRAM
set -euo pipefail
program=$1
server_com=5 unit_com=6
prefix=$RING_WINE_DIR/prefix
work=$(mktemp -d)
socat_pid=

cleanup() {
    exec 7<&- 8<&- || true
    if [ -n "$socat_pid" ]; then
        kill "$socat_pid" 2>/dev/null || true
        wait "$socat_pid" 2>/dev/null || true
    fi
    rm -f "$prefix/dosdevices/com$server_com" "$prefix/dosdevices/com$unit_com"
    rm -rf "$work"
}
trap cleanup EXIT

# 77: this machine cannot run the build's Windows programs (skipped).
"$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_list_tests >/dev/null

socat pty,raw,echo=0,link="$work/unit" pty,raw,echo=0,link="$work/host" &
socat_pid=$!
for _ in $(seq 50); do
    [ -e "$work/unit" ] && [ -e "$work/host" ] && break
    sleep 0.1
done
# socat ends when the last program closes a pty end; the simulator and the server open and
# close theirs several times, so this script holds both open.
exec 7<>"$work/unit" 8<>"$work/host"
ln -sfn "$work/host" "$prefix/dosdevices/com$server_com"
ln -sfn "$work/unit" "$prefix/dosdevices/com$unit_com"
echo "serial pair: server COM$server_com, unit COM$unit_com"

RING_E2E_SERVER_COM=$server_com RING_E2E_UNIT_COM=$unit_com \
    timeout 540 "$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_filter='*Serial*'
