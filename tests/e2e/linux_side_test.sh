#!/usr/bin/env bash
# Runs the end-to-end tests that need the Linux side: a pseudo-terminal pair from socat whose
# ends are mapped into the Wine prefix as the server's port and the simulated unit's port, and
# the Linux simulator, run on the test program's request (see fault_watch.h).
#   linux_side_test.sh TEST_PROGRAM [GTEST_FILTER SERVER_COM UNIT_COM]
# A request is one line: the Linux simulator's arguments, or "pty-down" (the pair's other ends
# closed, as when the unit's cable is pulled) or "pty-up" (a new pair under the same COM names).
set -euo pipefail
program=$1
filter=${2:-*Serial*:*SenderFilter*}
server_com=${3:-5} unit_com=${4:-6}
prefix=$RING_WINE_DIR/prefix
work=$(mktemp -d)
runner_pid=

cleanup() {
    if [ -n "$runner_pid" ]; then
        kill "$runner_pid" 2>/dev/null || true
        wait "$runner_pid" 2>/dev/null || true
    fi
    [ -s "$work/socat.pid" ] && kill "$(cat "$work/socat.pid")" 2>/dev/null || true
    rm -f "$prefix/dosdevices/com$server_com" "$prefix/dosdevices/com$unit_com"
    rm -rf "$work"
}
trap cleanup EXIT

# 77: this machine cannot run the build's Windows programs (skipped).
"$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_list_tests >/dev/null

# The Linux simulator of the native build beside this one (build/x-win64 -> build/x-native).
native=${RING_E2E_NATIVE_BUILD:-$(echo "$RING_BUILD_DIR" | sed -E 's/win(32|64)$/native/')}
if [ ! -x "$native/tools/unitsim/unitsim" ]; then
    echo "building the Linux simulator in $native"
    (cd "$RING_SOURCE_DIR" && cmake --preset native -B "$native" >/dev/null &&
        cmake --build "$native" --target unitsim >/dev/null)
fi
unitsim=$native/tools/unitsim/unitsim

# socat ends when the last program closes a pty end; the simulator and the server open and
# close theirs several times, so the request runner holds both open while the pair is up.
pty_up() {
    rm -f "$work/unit" "$work/host"
    socat pty,raw,echo=0,link="$work/unit" pty,raw,echo=0,link="$work/host" &
    echo $! >"$work/socat.pid"
    for _ in $(seq 50); do
        [ -e "$work/unit" ] && [ -e "$work/host" ] && break
        sleep 0.1
    done
    exec 7<>"$work/unit" 8<>"$work/host"
}

pty_down() {
    exec 7<&- 8<&-
    local pid
    pid=$(cat "$work/socat.pid")
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    : >"$work/socat.pid"
}

# Runs each request of the test program: NAME.request holds one request line.
mkdir "$work/sim"
serve_requests() {
    local request name
    pty_up
    touch "$work/ready"
    while true; do
        for request in "$work/sim"/*.request; do
            [ -e "$request" ] || continue
            name=${request%.request}
            read -r -a args <"$request"
            rm -f "$request"
            case ${args[0]} in
            pty-down) pty_down ;;
            pty-up) pty_up ;;
            *) (cd "$work/sim" && timeout 60 "$unitsim" "${args[@]}" >"$name.out" 2>&1) || true ;;
            esac
            touch "$name.done"
        done
        sleep 0.1
    done
}
serve_requests &
runner_pid=$!
for _ in $(seq 100); do
    [ -e "$work/ready" ] && break
    sleep 0.1
done
# wineserver looks the links up whenever a port is opened, so a new pair under the same names
# is the same COM port to Windows programs.
ln -sfn "$work/host" "$prefix/dosdevices/com$server_com"
ln -sfn "$work/unit" "$prefix/dosdevices/com$unit_com"
echo "serial pair: server COM$server_com, unit COM$unit_com"

RING_E2E_SERVER_COM=$server_com RING_E2E_UNIT_COM=$unit_com \
    RING_E2E_SIM_DIR="Z:$(echo "$work/sim" | tr / '\\')" \
    timeout 840 "$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_filter="$filter"
