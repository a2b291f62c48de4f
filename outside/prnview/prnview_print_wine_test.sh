#!/usr/bin/env bash
# Printing a real report through a real spooler: a cupsd of this test's own (its own folders,
# a private socket) whose queue writes each job to a file here, the inbound call log printed
# from the engine's preview under Wine with the print dialog answered, and the PostScript job
# Wine's driver sent turned into PDF by ghostscript and read back: pages, size, headings, rows.
# First the same report written by the engine itself as PDF, checked by qpdf and read back.
set -euo pipefail
work=$RING_BUILD_DIR/prnview-print
prog=$work/prog
cups=$work/cups
rm -rf "$work"
mkdir -p "$prog/DATA" "$prog/CONTROL" "$cups"/{etc,spool,tmp,cache,state,log} "$work/out"
for f in tally_host.exe callfill.exe Ringtally.dll KEYFILE.dll Pantry.dll Cfgvault.dll \
    PRNVIEW32.dll Reptopt.dll; do
    cp "$RING_BIN/$f" "$prog/"
done
printf "[Store]\r\nName=Mario's Pizza\r\n" >"$prog/POSOvena.INI"
winpath() { echo "Z:$(tr / '\\' <<<"$1")"; }
run() { "$RING_WINE_RUN" "$RING_WINE_DIR" "$@" | tr -d '\r'; }
failures=0
fail() {
    printf 'FAIL %s\n' "$*" >&2
    failures=$((failures + 1))
}
# wait_for SECONDS COMMAND...: polls until the command succeeds; false when time ran out.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.2
    done
}

# Five pages of the inbound call log: 200 calls, 44 rows a page, each caller numbered by row.
calls=()
for i in $(seq 0 199); do
    printf -v call '01-%02d-2004 %02d:%02d:00 I 555%07d 40 2 1 0 CALLER %03d' \
        $((5 + i / 80)) $((8 + i % 80 / 6)) $((i % 80 % 6 * 10)) $((1000 + i)) $((i + 1))
    calls+=("$call")
done
printf '%s\n' "${calls[@]}" >"$work/calls.txt"
run "$prog/callfill.exe" "$(winpath "$prog")" --list "$(winpath "$work/calls.txt")" >/dev/null
range=(--range 01-05-2004 00:00:00 01-07-2004 23:59:59 254)
title="Inbound Call Log Report"

# pdf_check NAME PDF PAGES PATTERN... [! PATTERN...]: page count, letter portrait pages, lines
# that must be there and, after "!", lines that must not.
pdf_check() {
    local name=$1 pdf=$2 pages=$3 text info must=1 before=$failures
    shift 3
    info=$(pdfinfo "$pdf")
    text=$(pdftotext -layout "$pdf" -)
    grep -q "^Pages: *$pages$" <<<"$info" || fail "$name: not $pages pages: $(grep Pages <<<"$info")"
    grep -q "^Page size: *612 x 792 pts" <<<"$info" ||
        fail "$name: not letter portrait: $(grep 'Page size' <<<"$info")"
    for pattern in "$@"; do
        if [ "$pattern" = "!" ]; then
            must=0
        elif [ $must = 1 ] && ! grep -Eq -- "$pattern" <<<"$text"; then
            fail "$name: no line matches $pattern"
        elif [ $must = 0 ] && grep -Eq -- "$pattern" <<<"$text"; then
            fail "$name: a line matches $pattern"
        fi
    done
    [ $failures -gt $before ] || echo "ok   $name ($pages pages)"
}

# The report written by the engine itself: compressed pages a PDF checker finds sound, with the
# same pages, headings and rows as the prints below.
five_pages=("Inbound Call Log From 05 Jan 2004 to 07 Jan 2004"
    "Date +Time +Number +Name +Secs +Line +Rings +Error"
    "01-05-2004 +08:00 AM +555-000-1000 +CALLER 001 +40 +0[12] +0[12] +NO"
    "CALLER 044" "CALLER 045" "01-07-2004 +.* +CALLER 200"
    "Mario's Pizza +Page 1 of 5" "Mario's Pizza +Page 5 of 5")
written=$work/out/written.pdf
PRNVIEW32_PDF=$(winpath "$written") run "$prog/tally_host.exe" IBLogRpt "${range[@]}" >/dev/null
if ! check=$(qpdf --check "$written" 2>&1); then
    fail "the engine's PDF: qpdf finds faults: $check"
elif [ "$(grep -ac "/Filter /FlateDecode" "$written")" != "$(grep -ac "<< /Length" "$written")" ] ||
    [ "$(grep -ac "/Filter /FlateDecode" "$written")" -lt 5 ]; then
    fail "the engine's PDF: a content stream that is not compressed, or fewer than one a page"
else
    echo "ok   the engine's PDF passes qpdf --check"
fi
pdf_check "the engine's PDF" "$written" 5 "${five_pages[@]}"

# The spooler: socket, configuration, spool and logs all below this test's folder, reached only
# through CUPS_SERVER, which the Wine programs below inherit.
socket=$cups/cups.sock
[ ${#socket} -lt 100 ] || socket=$(mktemp -u /tmp/prnview-cups.XXXXXX.sock)
cat >"$cups/etc/cupsd.conf" <<EOF
Listen $socket
LogLevel warn
PreserveJobFiles Yes
Browsing No
WebInterface No
DefaultAuthType None
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order allow,deny
    Allow all
  </Limit>
</Policy>
EOF
cat >"$cups/etc/cups-files.conf" <<EOF
ServerRoot $cups/etc
RequestRoot $cups/spool
TempDir $cups/tmp
CacheDir $cups/cache
StateDir $cups/state
ErrorLog $cups/log/error_log
AccessLog $cups/log/access_log
PageLog $cups/log/page_log
FileDevice Yes
EOF
export CUPS_SERVER=$socket
cupsd_bin=$(command -v cupsd || echo /usr/sbin/cupsd)
# A machine that cannot print still must not hide a fault of the engine's PDF above.
[ $failures -eq 0 ] || exit 1
if [ ! -x "$cupsd_bin" ]; then
    echo "skipped: no cupsd on this machine (scripts/setup installs Debian's cups)" >&2
    exit 77
fi
"$cupsd_bin" -f -c "$cups/etc/cupsd.conf" -s "$cups/etc/cups-files.conf" \
    </dev/null >"$cups/log/cupsd.out" 2>&1 &
cupsd_pid=$!
trap 'kill $cupsd_pid 2>/dev/null; wait $cupsd_pid 2>/dev/null; rm -f "$socket"' EXIT
scheduler_up() { [ -S "$socket" ] && lpstat -r 2>/dev/null | grep -q 'is running'; }
if ! wait_for 30 scheduler_up; then
    echo "skipped: cupsd could not start here:" >&2
    cat "$cups/log/cupsd.out" "$cups/log/error_log" >&2 2>/dev/null || true
    exit 77
fi
# A PostScript printer whose own default paper is A4: the engine must still print on letter.
job=$work/out/job.ps
# (lpadmin warns that drivers are deprecated: said only when it fails.)
lpadmin -p Office -E -v "file://$job" -m drv:///sample.drv/generic.ppd -o PageSize=A4 \
    2>"$cups/log/lpadmin" || { cat "$cups/log/lpadmin" >&2; exit 1; }
lpadmin -d Office

jobs_done() { lpstat -W completed -o Office 2>/dev/null | wc -l; }
# job_pdf N: the spooler's Nth job as Wine's driver sent it (kept in the spool: the queue's file
# holds only the last one), turned into PDF.
job_pdf() {
    local pdf=$work/job$1.pdf
    gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=pdfwrite -sOutputFile="$pdf" \
        "$cups/spool/$(printf 'd%05d-001' "$1")" >&2
    echo "$pdf"
}

# Three prints from one preview: Cancel as the third page goes out, which must leave the
# spooler without a job; every page; pages 2 to 3.
expected="progress: $title|owned
preview: $title|Page 1 of 5
print: pages 1-5|owned
printing: Printing page 1 of 5|Printing page 2 of 5|Printing page 3 of 5|owned
print: pages 1-5|owned
printing: Printing page 1 of 5|Printing page 2 of 5|Printing page 3 of 5|Printing page 4 of 5|Printing page 5 of 5|owned
print: pages 1-5|owned
printing: Printing page 2 of 5|Printing page 3 of 5|owned
done"
got=$(run "$prog/tally_host.exe" IBLogRpt "${range[@]}" --print all --cancel-print-at 3 \
    --print all --print 2-3 | grep -v '^range: ')
# The engine's captions carry the report's date: only their start is compared.
got=$(sed -E "s/^(progress|preview): $title[^|]*/\1: $title/" <<<"$got")
if [ "$got" != "$expected" ]; then
    fail "prints from the preview
--- expected
$expected
--- got
$got"
else
    echo "ok   prints from the preview"
fi
if ! wait_for 60 test "$(jobs_done)" -ge 2; then
    fail "the jobs never finished in the spooler"
    lpstat -o -W all >&2 || true
fi
jobs=$(lpstat -W all -o Office | wc -l)
[ "$jobs" = 2 ] || fail "the spooler got $jobs jobs, not 2: the cancelled one reached it"
[ -s "$job" ] || fail "the queue wrote nothing to its file"

pdf_check "every page printed" "$(job_pdf 1)" 5 "${five_pages[@]}"
pdf_check "pages 2 to 3 printed" "$(job_pdf 2)" 2 \
    "Inbound Call Log From 05 Jan 2004 to 07 Jan 2004" "CALLER 045" "CALLER 132" \
    "Page 2 of 5" "Page 3 of 5" ! "CALLER 044" "CALLER 133" "Page [145] of 5"

[ $failures -eq 0 ] || { echo "$failures failed; the spooler's log: $cups/log" >&2; exit 1; }
rm -rf "$work"
