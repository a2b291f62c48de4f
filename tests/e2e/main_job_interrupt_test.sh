#!/usr/bin/env bash
# Ctrl-C in the main job (scripts/run) must stop Ringhold in order: every line then shows
# SERVER / OFFLINE and no lock file is left. The job runs as a terminal runs it, in a process
# group of its own that gets SIGINT as a whole, with no DISPLAY, and with the Wine settings of
# someone else's prefix, which it must not take.
set -euo pipefail
preset=$(basename "$RING_BUILD_DIR")
if [ "$preset" = win32 ] && ! /usr/lib/wine/wine --version >/dev/null 2>&1; then
    echo "this machine cannot execute 32-bit code; skipped"
    exit 77
fi
work=$(mktemp -d)
job=

cleanup() {
    if [ -n "$job" ] && kill -0 "$job" 2>/dev/null; then
        kill -KILL -- "-$job" 2>/dev/null || true
    fi
    # The job's own clean-up stops its Wine; after a failure it may not have got that far.
    "$RING_SOURCE_DIR/cmake/wine-env" stop "$work/wine" >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT

# Each line of the station display file as "number/name".
shown() {
    python3 - "$work/prog/DATA/OvenCID.DAT" <<'PY'
import sys
try:
    data = open(sys.argv[1], "rb").read()
except OSError:
    data = b""
for at in range(0, len(data) - 49, 50):
    field = lambda start, width: data[at + start:at + start + width].split(b"\0")[0].decode()
    print(field(0, 20) + "/" + field(20, 20))
PY
}

port=$(python3 -c 'import socket; s = socket.socket(socket.AF_INET, socket.SOCK_DGRAM); s.bind(("", 0)); print(s.getsockname()[1])')
if [ "$preset" = win32 ]; then foreign_arch=win64; else foreign_arch=win32; fi
echo "main job on UDP port $port in $work"
# A background job of this script starts with SIGINT ignored, and a shell cannot trap a signal
# ignored on entry; a terminal's foreground job has it at its default.
env -u DISPLAY WINEARCH=$foreign_arch WINEPREFIX="$work/someone-elses-prefix" \
    RING_DEMO_DIR="$work" RING_DEMO_PORT="$port" RING_RUN_PRESET="$preset" \
    python3 -c 'import os, signal, sys
signal.signal(signal.SIGINT, signal.SIG_DFL)
os.setsid()
os.execv(sys.argv[1], sys.argv[1:])' "$RING_SOURCE_DIR/scripts/run" </dev/null >"$work/run.log" 2>&1 &
job=$!

# Calls show once a line holds something other than "Waiting"; a fresh prefix and a cold Wine
# start take their time on a busy machine.
calls=no
for _ in $(seq 1200); do
    if shown | grep -qv '^Waiting/'; then
        calls=yes
        break
    fi
    kill -0 "$job" 2>/dev/null || break
    sleep 0.5
done
if [ $calls != yes ]; then
    echo "FAIL: no call reached the station display"
    tail -n 40 "$work/run.log"
    exit 1
fi
echo "calls shown:"
shown

kill -INT -- "-$job"
ended=no
for _ in $(seq 360); do
    if ! kill -0 "$job" 2>/dev/null; then
        ended=yes
        break
    fi
    sleep 0.5
done
job_rc=0
[ $ended = yes ] && { wait "$job" || job_rc=$?; }
# Without the viewer's screens, which repeat twice a second.
grep -v -e '^Line ' -e '^Station display' -e '^.\[H' "$work/run.log" | grep . || true

failures=0
check() {
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        echo "  expected: $2"
        echo "  got:      $3"
        failures=$((failures + 1))
    fi
}
check "the job ended after Ctrl-C" yes "$ended"
check "every line offline" "$(printf 'SERVER/OFFLINE\n%.0s' 1 2 3 4)" "$(shown)"
check "no lock file left" "" "$(cd "$work/prog/CONTROL" && ls)"
check "the job stopped the server" 1 "$(grep -c 'run: stopping the server' "$work/run.log" || true)"
check "Ringhold ended through its window" "" "$(grep -e 'could not end' -e 'not running' "$work/run.log" || true)"
echo "job exit status $job_rc"
[ $failures -eq 0 ]
