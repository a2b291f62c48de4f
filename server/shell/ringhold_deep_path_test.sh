#!/usr/bin/env bash
# From a folder deep enough that the program path passes 298 characters, "Launch at System Boot"
# stores the whole path without quotes, and choosing it again removes the value.
# Wine starts programs that deep only from the Linux side, hence a script.
set -euo pipefail
run() { "$RING_WINE_RUN" "$RING_WINE_DIR" "$@"; }
ringctl() { run "$RING_BIN/ringctl.exe" "$@"; }
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
stored() {
    run reg query "$run_key" /v Halden_Ringhold 2>/dev/null | tr -d '\r' |
        sed -n 's/^ *Halden_Ringhold *REG_SZ *//p'
}
wait_for_stored() {
    for _ in $(seq 150); do
        [ "$(stored)" = "$1" ] && return 0
        sleep 0.2
    done
    printf 'expected value "%s"\n     got "%s"\n' "$1" "$(stored)" >&2
    return 1
}

deep=$RING_BUILD_DIR/ringhold-deep
rm -rf "$deep"
dir=$deep
for part in a b c d e; do
    dir=$dir/$(printf "$part%.0s" $(seq 60))
done
mkdir -p "$dir/DATA" "$dir/CONTROL"
cp "$RING_BIN/Ringhold.exe" "$RING_BIN"/*.dll "$dir/"
# Wine shows the Linux root as drive Z:.
expected="Z:$(tr / '\\' <<<"$dir")\\Ringhold.exe"
echo "program path of ${#expected} characters"
[ ${#expected} -ge 298 ]

rc=0
run reg delete "$run_key" /v Halden_Ringhold /f >/dev/null 2>&1 || rc=$?
[ $rc -eq 77 ] && exit 77 # this machine cannot run the build's programs
run "$dir/Ringhold.exe" &
ringhold=$!
# The server thread's start-up fails this deep (the ANSI file functions stop at MAX_PATH) and
# waits on its error message, so the program is ended by force; the build's Wine prefix runs
# one test at a time.
trap 'run taskkill /f /im Ringhold.exe >/dev/null 2>&1 || true; wait $ringhold || true
      rm -rf "$deep"' EXIT
for _ in $(seq 120); do
    rc=0
    ringctl status >/dev/null 2>&1 || rc=$?
    [ $rc -ne 3 ] && break
    sleep 0.5
done

ringctl choose 1468
wait_for_stored "$expected"
ringctl choose 1468
wait_for_stored ""
echo "stored whole and unquoted, then removed"
