#!/usr/bin/env bash
# Runs the storage fault cases that need the Linux side: a small tmpfs holding the program
# directory, which the test fills up (where this machine lets a test mount one), and SIGKILL of
# the server's Wine process, sent when the test program asks (kill.request: the name of the
# program directory, which only that server's command line holds).
#   storage_faults_test.sh TEST_PROGRAM
set -euo pipefail
program=$1
work=$(mktemp -d)
mounted= runner_pid=

cleanup() {
    if [ -n "$runner_pid" ]; then
        kill "$runner_pid" 2>/dev/null || true
        wait "$runner_pid" 2>/dev/null || true
    fi
    [ -z "$mounted" ] || umount "$work/small" || true
    rm -rf "$work"
}
trap cleanup EXIT

# 77: this machine cannot run the build's Windows programs (skipped).
"$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_list_tests >/dev/null

winpath() { echo "Z:$(echo "$1" | tr / '\\')"; }

mkdir "$work/small" "$work/requests"
filter='*Sigkill*'
if mount -t tmpfs -o size=48m tmpfs "$work/small" 2>/dev/null; then
    mounted=1
    prog=$work/small/prog
    mkdir -p "$prog/DATA" "$prog/CONTROL"
    cp "$RING_BIN/Ringhold.exe" "$RING_BIN/KEYFILE.dll" "$RING_BIN/Pantry.dll" "$prog/"
    export RING_E2E_FULL_DIR
    RING_E2E_FULL_DIR=$(winpath "$prog")
    filter="$filter:*FullDisk*"
    echo "full disk: program directory on a 48 MB tmpfs at $work/small"
else
    echo "full disk: SKIPPED, this machine does not let a test mount a tmpfs (mount -t tmpfs failed)"
fi

kill_requested() {
    local marker pid cmdline
    marker=$(cat "$work/requests/kill.request")
    rm -f "$work/requests/kill.request"
    for dir in /proc/[0-9]*; do
        pid=${dir#/proc/}
        cmdline=$(tr '\0' ' ' 2>/dev/null <"$dir/cmdline") || continue
        case $cmdline in
        *"$marker"*Ringhold.exe*)
            echo "SIGKILL to $pid: $cmdline"
            kill -KILL "$pid" || true
            ;;
        esac
    done
    touch "$work/requests/kill.done"
}
serve_requests() {
    while true; do
        [ ! -e "$work/requests/kill.request" ] || kill_requested
        sleep 0.1
    done
}
serve_requests &
runner_pid=$!

RING_E2E_KILL_DIR=$(winpath "$work/requests") \
    timeout 540 "$RING_WINE_RUN" "$RING_WINE_DIR" "$program" --gtest_filter="$filter"
