#!/usr/bin/env bash
# Ringtally under Wine as the back office calls it: a host window calls each export, the real
# range and number dialogs are answered from inside the host, every failure message is read from
# its real box, and the reports the real engine writes as PDF are read back with pdftotext.
set -euo pipefail
work=$RING_BUILD_DIR/ringtally-wine
prog=$work/prog
rm -rf "$work"
mkdir -p "$prog/DATA" "$prog/CONTROL"
for f in tally_host.exe callfill.exe Ringtally.dll KEYFILE.dll Pantry.dll Cfgvault.dll \
    PRNVIEW32.dll Reptopt.dll; do
    cp "$RING_BIN/$f" "$prog/"
done
printf "[Store]\r\nName=Mario's Pizza\r\n" >"$prog/POSOvena.INI"
log=$prog/DATA/QuorlLog.OV5
winpath() { echo "Z:$(tr / '\\' <<<"$1")"; }
run() { "$RING_WINE_RUN" "$RING_WINE_DIR" "$@" | tr -d '\r'; }
range=(--range 01-05-2004 00:00:00 01-07-2004 23:59:59 254)
failures=0

# check NAME OUTPUT EXPECTED: the host saw exactly the expected lines, in order.
check() {
    if [ "$2" != "$3" ]; then
        printf 'FAIL %s\n--- expected\n%s\n--- got\n%s\n' "$1" "$3" "$2" >&2
        failures=$((failures + 1))
    else
        echo "ok   $1"
    fi
}
# pdf_has NAME PDF PATTERN...: each extended regular expression matches a line of the text.
pdf_has() {
    local name=$1 pdf=$2 text
    shift 2
    text=$(pdftotext -layout "$pdf" - 2>/dev/null || true)
    for pattern in "$@"; do
        if ! grep -Eq -- "$pattern" <<<"$text"; then
            printf 'FAIL %s: no line matches %s\n%s\n' "$name" "$pattern" "$text" >&2
            failures=$((failures + 1))
            return
        fi
    done
    echo "ok   $name"
}
# damage_last_records LOG: the page holding the log's last records becomes unreadable, as a
# bad sector would leave it; the pages before it read as they were.
damage_last_records() {
    python3 - "$1" <<'PY'
import sqlite3, struct, sys
path = sys.argv[1]
db = sqlite3.connect("file:" + path + "?mode=ro", uri=True)
page = db.execute("SELECT rootpage FROM sqlite_master WHERE name = 'kf_record'").fetchone()[0]
db.close()
with open(path, "r+b") as f:
    size = struct.unpack(">H", f.read(18)[16:18])[0]
    while True:  # from each interior page on to its rightmost child
        f.seek((page - 1) * size)
        header = f.read(12)
        if header[0] != 5:
            break
        page = struct.unpack(">I", header[8:12])[0]
    f.seek((page - 1) * size)
    f.write(b"\0")
PY
}
fill() {
    printf '%s\n' "$@" >"$work/calls.txt"
    run "$prog/callfill.exe" "$(winpath "$prog")" --list "$(winpath "$work/calls.txt")" >/dev/null
}

check "no call log" "$(run "$prog/tally_host.exe" IBLogRpt)" \
    "box: Nothing To Do|No Data|noicon|owned
done"

check "no number typed: nothing looked at" "$(run "$prog/tally_host.exe" CllsByNum --close-number)" \
    "number: Enter Number to report on|default 200|owned
done"

echo "not a record file" >"$log"
check "log that does not open" "$(run "$prog/tally_host.exe" OBLogRpt)" \
    "box: Keyfile Error 14|Error Opening Data File!|icon|owned
done"

rm -f "$log"
fill "# none"
check "log without records" "$(run "$prog/tally_host.exe" CllStsRpt)" \
    "box: Nothing To Do|No Records in Data File!|noicon|owned
done"

calls=("01-05-2004 10:15:00 I 5551234567 95 3 2 0 JONES MARY"
    "01-05-2004 11:00:00 O 15559876543 30 0 1 0 |*72#"
    "01-06-2004 12:05:00 I PRIVATE 0 0 12 3"
    "01-06-2004 18:40:00 O 5551234567 61 0 3 0")
for minute in $(seq 10 55); do
    calls+=("01-07-2004 09:$minute:00 I 555000$((1000 + minute)) 40 2 1 0 CALLER $minute")
done
rm -f "$log"
fill "${calls[@]}"

check "range cancelled" "$(run "$prog/tally_host.exe" IBLogRpt --cancel-range)" \
    "range: Select Range for Caller ID Report|owned
done"

export PRNVIEW32_PDF
PRNVIEW32_PDF=$(winpath "$work/missing/report.pdf")
check "engine refuses the document" "$(run "$prog/tally_host.exe" IBLogRpt "${range[@]}")" \
    "range: Select Range for Caller ID Report|owned
box: Print Engine|Error:-2|icon|owned
done"

check "second report while one runs returns at once" \
    "$(run "$prog/tally_host.exe" IBLogRpt --cancel-range --reenter)" \
    "range: Select Range for Caller ID Report|owned
reentry returned
done"

PRNVIEW32_PDF=$(winpath "$work/inbound.pdf")
check "inbound report" "$(run "$prog/tally_host.exe" IBLogRpt "${range[@]}")" \
    "range: Select Range for Caller ID Report|owned
done"
pdf_has "inbound report PDF" "$work/inbound.pdf" \
    "Inbound Call Log From 05 Jan 2004 to 07 Jan 2004" \
    "Date +Time +Number +Name +Secs +Line +Rings +Error" \
    "01-05-2004 +10:15 AM +555-123-4567 +JONES MARY +95 +02 +03 +NO" \
    "01-06-2004 +12:05 PM +PRIVATE +N/A +12 +N/A +YES" \
    "Mario's Pizza +Page 1 of 2" "Mario's Pizza +Page 2 of 2" \
    "Printed on [0-9]{2}-[0-9]{2}-[0-9]{4} at [0-9]{2}:[0-9]{2}:[0-9]{2}"

PRNVIEW32_PDF=$(winpath "$work/outbound.pdf")
run "$prog/tally_host.exe" OBLogRpt "${range[@]}" >/dev/null
pdf_has "outbound report PDF" "$work/outbound.pdf" \
    "Outbound Call Log From 05 Jan 2004 to 07 Jan 2004" \
    "Date +Time +Number +Extra Digits Dialed +Secs +Line" \
    "01-05-2004 +11:00 AM +555-987-6543 +\*72# +30 +01" \
    "01-06-2004 +06:40 PM +555-123-4567 +61 +03"

PRNVIEW32_PDF=$(winpath "$work/stats.pdf")
run "$prog/tally_host.exe" CllStsRpt "${range[@]}" >/dev/null
pdf_has "statistics PDF" "$work/stats.pdf" \
    "Call Statistics from 05 Jan 2004 to 07 Jan 2004" \
    "Total Calls For Period = 50 +Rings Before Calls Answered = \(Avg 1\) \(Hi 3\) \(Lo 2\)" \
    "Total Inbound Calls = 48" \
    "Total Outbound Calls = 2 +Call Duration Minutes = \(Avg 0\) \(Hi 2\) \(Lo 0\)" \
    "Number That Called most: 555-123-4567 +\(1 times\) +Number Dialed most: 555-987-6543 +\(1 times\)" \
    "Caller ID Errors for Period = 1" "Table of Inbound Call # Averages:"

PRNVIEW32_PDF=$(winpath "$work/number.pdf")
check "calls by number" \
    "$(run "$prog/tally_host.exe" CllsByNum --number "(555) 123-4567" "${range[@]}")" \
    "number: Enter Number to report on|default 200|owned
range: Select Range for Report on 555-123-4567|owned
done"
pdf_has "calls by number PDF" "$work/number.pdf" \
    "Calls By Number 05 Jan 2004 to 07 Jan 2004" \
    "01-05-2004 +10:15 AM +555-123-4567 +JONES MARY +95 +02 +03 +In" \
    "01-06-2004 +06:40 PM +555-123-4567 +61 +03 +N/A +Out"

# PRNVIEW32_PDF naming a folder files each report there under its title and start time.
mkdir -p "$work/filed"
PRNVIEW32_PDF="$(winpath "$work/filed")\\"
run "$prog/tally_host.exe" IBLogRpt "${range[@]}" >/dev/null
run "$prog/tally_host.exe" CllStsRpt "${range[@]}" >/dev/null
check "reports filed in a folder" "$(ls "$work/filed" |
    sed -E 's/[0-9]{2}-[0-9]{2}-[0-9]{4} [0-9]{4}-[0-9]{2}-[0-9]{2} [0-9]{6}/DATE STAMP/')" \
    "Call Stats Report - DATE STAMP.pdf
Inbound Call Log Report - DATE STAMP.pdf"

PRNVIEW32_PDF='Z:\dev\full'
check "PDF that cannot be written" "$(run "$prog/tally_host.exe" OBLogRpt "${range[@]}")" \
    "range: Select Range for Caller ID Report|owned
box: Report|Error Writing PDF File!|icon|owned
done"

# The rows read before the damage print; the document says it was stopped.
damage_last_records "$log"
PRNVIEW32_PDF=$(winpath "$work/damaged.pdf")
check "read failure mid-scan" "$(run "$prog/tally_host.exe" IBLogRpt "${range[@]}")" \
    "range: Select Range for Caller ID Report|owned
box: Keyfile Error 2|Error Reading Data File!|icon|owned
done"
pdf_has "read failure PDF" "$work/damaged.pdf" \
    "01-05-2004 +10:15 AM +555-123-4567 +JONES MARY" \
    "Printed on [0-9-]{10} at [0-9:]{8} \(stopped\)"
check "read failure PDF title" "$(pdfinfo "$work/damaged.pdf" | sed -nE 's/^Title: +//p')" \
    "$(pdfinfo "$work/inbound.pdf" | sed -nE 's/^Title: +//p') (stopped)"

# A host program deeper than 128 characters still finds its own DATA folder: the range dialog
# only comes once the log there has been opened and counted.
deep=$work
for part in a b c; do
    deep=$deep/$(printf "$part%.0s" $(seq 48))
done
mkdir -p "$deep/DATA"
cp "$prog"/*.exe "$prog"/*.dll "$prog/POSOvena.INI" "$deep/"
printf '%s\n' "${calls[0]}" >"$work/one.txt"
run "$deep/callfill.exe" "$(winpath "$deep")" --list "$(winpath "$work/one.txt")" >/dev/null
check "host program in a deep folder" "$(run "$deep/tally_host.exe" IBLogRpt --cancel-range)" \
    "range: Select Range for Caller ID Report|owned
done"

[ $failures -eq 0 ] || { echo "$failures failed" >&2; exit 1; }
rm -rf "$work"
