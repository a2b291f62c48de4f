#!/usr/bin/env bash
# Runs the end-to-end tests that need the Linux side: a pseudo-terminal pair from socat whose
# ends are mapped into the Wine prefix as the server's port (COM5) and the simulated unit's port
# (COM6), and the Linux simulator, run on the test program's request (see e2e_session.h).
#   linux_side_test.sh TEST_PROGRAM
set -euo pipefail
program=$1
server_com=5 unit_com=6
prefix=$RING_WINE_DIR/prefix
work=$(mktemp -d)
socat_pid= runner_pid=

cleanup() {
    exec 7<&- 8<&- || true
    for pid in $runner_pid $socat_pid; do
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
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

# Runs each request of the test program: NAME.request holds the simulator's arguments.
mkdir "$work/sim"
serve_requests() {
    local request name
    while true; do
        for request in "$work/sim"/*.request; do
            [ -e "$request" ] || continue
            name=${request%.request}
            read -r -a args <"$request"
            rm -f "$request"
            (cd "$work/sim" && timeout 30 "$unitsim" "${args[@]}" >"$name.out" 2>&1) || true
            touch "$name.done"
        done
        sleep 0.1
    done
}
serve_requests &
runner_pid=$!

RING_E2E_SERVER_COM=$server_com RING_E2E_UNIT_COM=$unit_com \
    RING_E2E_SIM_DIR="Z:$(echo "$work/sim" | tr / '\\')" \
    timeout 540 "$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_filter='*Serial*:*SenderFilter*'
