#!/usr/bin/env bash
# Ringtally under Wine as the back office calls it: a host window calls each export, the real
# range and number dialogs are answered from inside the host, every failure message is read from
# its real box, the reports the real engine writes as PDF are read back with pdftotext and the
# call log's CSV export byte by byte.
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

# The callback list and the CSV export over a log designed for them: a short call answered by
# a callback dialled with a leading 1, one answered by a longer call, two short calls nobody
# returned, withheld callers, and a callback that comes only after the range's end.
e_acute=$'\xC9' # the log holds Windows-1252
rm -f "$log"
fill "01-05-2004 12:00:00 I 5551110000 10 2 1 0 CALLED BACK" \
    "01-05-2004 12:10:00 O 15551110000 60 0 1 0" \
    "01-05-2004 13:00:00 I 5553330000 9 3 1 0 CALLED AGAIN" \
    "01-05-2004 13:30:00 I 5553330000 50 1 1 0 CALLED AGAIN" \
    "01-05-2004 19:02:00 I 5552220000 8 4 2 0 ROSSI ANNA" \
    "01-06-2004 13:00:00 I PRIVATE 5 2 1 0" \
    "01-06-2004 13:05:00 I PRIVATE 7 2 1 2" \
    "01-06-2004 19:15:00 I 5552220000 30 4 2 0 ROSSI ANNA" \
    "01-07-2004 20:00:00 I 5554440000 15 5 3 0 CAF$e_acute, \"LUIGI\"" \
    "01-08-2004 09:00:00 O 5554440000 40 0 3 0|*67"

PRNVIEW32_PDF=$(winpath "$work/callback.pdf")
check "seconds dialog cancelled" "$(run "$prog/tally_host.exe" CallbackRpt --cancel-seconds)" \
    "seconds: Callback List|20|default 1|owned
done"
[ ! -e "$work/callback.pdf" ] || check "no callback list after Cancel" "written" "none"

check "callback list" \
    "$(run "$prog/tally_host.exe" CallbackRpt --seconds 0 --seconds 45 "${range[@]}")" \
    "seconds: Callback List|20|default 1|owned
box: Callback List|Enter a number of seconds from 1 to 600.|icon|owned by Callback List
seconds: dialog stays
range: Select Range for Caller ID Report|owned
done"
pdf_has "callback list PDF" "$work/callback.pdf" \
    "Callback List From 05 Jan 2004 to 07 Jan 2004" \
    "Inbound calls of at most 45 seconds with no longer call from or call to the number afterwards" \
    "01-06-2004 +07:15 PM +555-222-0000 +ROSSI ANNA +02 +04 +2" \
    "01-07-2004 +08:00 PM +555-444-0000 .* +03 +05 +1" \
    "Also 2 short calls from withheld numbers"
qpdf --check "$work/callback.pdf" >/dev/null 2>&1 && echo "ok   callback list PDF passes qpdf --check" ||
    check "callback list PDF passes qpdf --check" "$(qpdf --check "$work/callback.pdf" 2>&1)" ok

# csv_export ARGS...: what the host saw of the export; the progress window is too quick to be
# seen every time, and Wine's notes on the side are not the host's.
csv_export() {
    run "$prog/tally_host.exe" CallLogCsv "${range[@]}" "$@" | grep -v -e '^progress: ' -e '^wine: '
}
# csv_has NAME CSV LINE...: the file starts with the byte-order mark, every line ends in CR LF,
# it holds a line per call of the range and the header, and each LINE is one of them.
csv_has() {
    local name=$1 csv=$2 text
    shift 2
    text=$(tail -c +4 "$csv" | tr -d '\r')
    if [ "$(head -c 3 "$csv" | od -An -tx1 | tr -d ' ')" != efbbbf ] ||
        [ "$(grep -c $'\r$' "$csv")" != 10 ] || [ "$(wc -l <"$csv")" != 10 ]; then
        check "$name: mark and line ends" "$(od -c "$csv" | head -20)" "BOM, 10 CRLF lines"
        return
    fi
    for line in "$@"; do
        grep -qxF -- "$line" <<<"$text" || { check "$name" "$text" "a line $line"; return; }
    done
    echo "ok   $name"
}
today=$(date +%F)
csv_lines=("Date,Time,Direction,Line,Number,Name,Extra Digits,Seconds,Rings,Caller ID Error"
    "2004-01-05,12:10,Out,1,555-111-0000,,,60,,No"
    "2004-01-06,13:05,In,1,PRIVATE,,,7,2,Yes"
    "2004-01-07,20:00,In,3,555-444-0000,\"CAFÉ, \"\"LUIGI\"\"\",,15,5,No")

# Through the save dialog, the name it offers kept, in the folder the host runs in.
unset PRNVIEW32_PDF
mkdir -p "$work/saved" "$work/cancelled"
check "CSV through the save dialog" "$(cd "$work/saved" && csv_export)" \
    "range: Select Range for Caller ID Report|owned
save: Export Call Log (CSV)|Call Log $today.csv|owned
done"
csv_has "CSV read back" "$work/saved/Call Log $today.csv" "${csv_lines[@]}"
check "save dialog cancelled" "$(cd "$work/cancelled" && csv_export --cancel-save)" \
    "range: Select Range for Caller ID Report|owned
save: Export Call Log (CSV)|Call Log $today.csv|owned
done"
check "nothing written after Cancel" "$(ls -A "$work/cancelled")" ""

# RINGTALLY_CSV naming a folder: the name the dialog would offer, then the next free one.
export RINGTALLY_CSV
mkdir -p "$work/csv"
RINGTALLY_CSV=$(winpath "$work/csv")
csv_export >/dev/null
csv_export >/dev/null
check "CSV files filed in a folder" "$(ls "$work/csv")" "Call Log $today (2).csv
Call Log $today.csv"
csv_has "filed CSV read back" "$work/csv/Call Log $today (2).csv" "${csv_lines[3]}"

# A target that cannot take the file: a link to a device that fails every write, which the
# rename must not replace.
mkdir -p "$work/unwritable"
ln -s /dev/full "$work/unwritable/calls.csv"
RINGTALLY_CSV=$(winpath "$work/unwritable/calls.csv")
check "CSV that cannot be written" "$(csv_export)" \
    "range: Select Range for Caller ID Report|owned
box: Report|Error Writing CSV File!|icon|owned
done"
check "nothing left beside it" "$(find "$work/unwritable" -printf '%f %y\n')" "unwritable d
calls.csv l"
unset RINGTALLY_CSV

[ $failures -eq 0 ] || { echo "$failures failed" >&2; exit 1; }
rm -rf "$work"
