# Sourced by RingHQ's Wine tests: a PostgreSQL server of the test's own, store directories whose
# logs Ringsync sends, RingHQ's test host beside its INI, and the checks of a PDF's text.
PG_WORK=$(mktemp -d)
source "$RING_SOURCE_DIR/sync/tests/pg_server.sh"
run=$RING_WINE_RUN
wine_dir=$RING_WINE_DIR
bin=$RING_BIN
trap 'pg_stop; rm -rf "$PG_WORK"' EXIT

# 77: this machine cannot run the build's Windows programs (skipped).
"$run" "$wine_dir" "$bin/hq_host.exe" --usage >/dev/null 2>&1 || [ $? -ne 77 ] || exit 77

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
win_path() { echo "Z:$1" | tr / '\\'; }
wrun() { "$run" "$wine_dir" "$@" 2>/dev/null | tr -d '\r'; }

# A store's program directory: its log, the sync and the back office's statistics.
make_site() {
    local dir=$PG_WORK/$1
    mkdir -p "$dir/DATA" "$dir/CONTROL"
    for f in Ringsync.exe callfill.exe tally_host.exe Ringtally.dll KEYFILE.dll Pantry.dll \
        Cfgvault.dll PRNVIEW32.dll Reptopt.dll; do
        cp "$bin/$f" "$dir/"
    done
    printf '[Store]\r\nName=Store %s\r\n[CIDSync]\r\nConnection=%s\r\nSite=%s\r\n' \
        "$1" "$(pg_connection)" "$1" >"$dir/POSOvena.INI"
}
fill_list() {
    printf '%s\n' "${@:2}" >"$PG_WORK/calls.txt"
    wrun "$PG_WORK/$1/callfill.exe" "$(win_path "$PG_WORK/$1")" --list \
        "$(win_path "$PG_WORK/calls.txt")" >/dev/null
}
sync_site() {
    wrun "$PG_WORK/$1/Ringsync.exe" /once >/dev/null || fail "Ringsync /once at $1"
}
pdf_text() { pdftotext -layout "$1" - 2>/dev/null || true; }
# pdf_has NAME PDF PATTERN...: each extended regular expression matches a line of the text.
pdf_has() {
    local name=$1 text
    text=$(pdf_text "$2")
    shift 2
    for pattern in "$@"; do
        grep -Eq -- "$pattern" <<<"$text" || {
            fail "$name: no line matches $pattern
$text"
            return
        }
    done
    echo "ok   $name"
}

pg_init
hq=$PG_WORK/hq
mkdir -p "$hq"
for f in hq_host.exe PRNVIEW32.dll Reptopt.dll Pantry.dll KEYFILE.dll; do cp "$bin/$f" "$hq/"; done
printf '[HQ]\r\nConnection=%s\r\nName=Chain HQ\r\n' "$(pg_connection)" >"$hq/RingHQ.INI"
export PRNVIEW32_PDF
hq_report() { # ACTION SITE PDF D T D T MASK
    PRNVIEW32_PDF=$(win_path "$3")
    wrun "$hq/hq_host.exe" "$1" "$2" "${@:4}"
}

