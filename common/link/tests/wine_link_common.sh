# Sourced by the Wine link tests: running Windows programs, the pseudo-terminal pair, clean-up.
work=$(mktemp -d)
prefix=$RING_WINE_DIR/prefix
bg_pids=()
com_links=()

cleanup() {
    local pid
    for pid in "${bg_pids[@]}"; do
        pkill -TERM -P "$pid" 2>/dev/null || true
        kill "$pid" 2>/dev/null || true
    done
    for link in "${com_links[@]}"; do
        rm -f "$link"
    done
    rm -rf "$work"
}
trap cleanup EXIT

# A Windows program of the build, in the foreground.
win() { "$RING_WINE_RUN" "$RING_WINE_DIR" "$RING_BIN/$1" "${@:2}" | tr -d '\r'; }

# A Windows program in the background, killed at exit when still running.
win_bg() {
    "$RING_WINE_RUN" "$RING_WINE_DIR" "$RING_BIN/$1" "${@:2}" &
    bg_pids+=($!)
}

# Waits until FILE holds a line matching PATTERN; a cold 32-bit Wine start on a busy machine
# can take tens of seconds.
wait_for_line() {
    local n
    for n in $(seq 900); do
        grep -q "$2" "$1" 2>/dev/null && return 0
        sleep 0.1
    done
    echo "timed out waiting for '$2' in $1" >&2
    return 1
}

# A pseudo-terminal pair: the host end as COM$1, the unit end as COM$2 (wineserver looks the
# dosdevices links up when a port is opened, so they can come after it started).
start_pty_pair() {
    local d=$work/pty$1
    mkdir -p "$d"
    socat pty,raw,echo=0,link="$d/unit" pty,raw,echo=0,link="$d/host" &
    bg_pids+=($!)
    pty_socat=$!
    local n
    for n in $(seq 50); do
        [ -e "$d/unit" ] && [ -e "$d/host" ] && break
        sleep 0.1
    done
    ln -sfn "$d/host" "$prefix/dosdevices/com$1"
    ln -sfn "$d/unit" "$prefix/dosdevices/com$2"
    com_links+=("$prefix/dosdevices/com$1" "$prefix/dosdevices/com$2")
}

stop_pty_pair() {
    kill "$pty_socat" 2>/dev/null || true
    wait "$pty_socat" 2>/dev/null || true
}

failures=0
expect_eq() {
    if [ "$2" == "$3" ]; then
        echo "ok: $1"
    else
        echo "FAIL: $1"
        echo "  expected: $(printf '%q' "$2")"
        echo "  got:      $(printf '%q' "$3")"
        failures=$((failures + 1))
    fi
}

# Exits 77 (skipped) when this machine cannot run the build's Windows programs.
skip_unless_wine_runs() {
    local rc=0
    win serial_link_probe.exe 0 >/dev/null 2>&1 || rc=$?
    [ $rc -eq 77 ] && exit 77
    return 0
}
