#!/usr/bin/env bash
# RingHQ under Wine against a PostgreSQL server of the test's own: three sites' logs sent by
# Ringsync, the window's site list, the statistics of one site checked against Ringtally's page
# over that site's own log, the whole chain's page and the site comparison against figures
# worked out by hand from the same calls, and a password in the INI refused.
set -euo pipefail
source "$RING_SOURCE_DIR/hq/tests/hq_chain.sh"

echo "== three sites' logs at the server"
for s in north-1 south-2 east-3; do make_site $s; done
wrun "$PG_WORK/north-1/Ringsync.exe" /init >/dev/null || fail "Ringsync /init"
# Monday 01-05 and 01-12, Tuesday 01-06, Wednesday 01-07; south-2 calls on a Monday north-1
# called on too, so the chain's Monday counts that date once.
fill_list north-1 \
    "01-05-2004 10:15:00 I 5551234567 90 3 1 0 JONES MARY" \
    "01-05-2004 10:40:00 I 5551234567 29 1 1 0 JONES MARY" \
    "01-05-2004 11:00:00 O 5559876543 150 0 2 0 |*72#" \
    "01-05-2004 03:00:00 I PRIVATE 0 0 1 3" \
    "01-06-2004 23:30:00 I 5550000001 31 5 1 2 SMITH" \
    "01-12-2004 10:05:00 I 5551234567 30 0 1 0 JONES MARY" \
    "01-12-2004 10:50:00 I 5552220000 0 0 1 1"
fill_list south-2 \
    "01-05-2004 10:20:00 I 5551234567 8 2 1 0 JONES MARY" \
    "01-05-2004 10:25:00 I 5553334444 5 1 1 0 LEE" \
    "01-07-2004 18:00:00 O 5559876543 95 0 1 0" \
    "01-07-2004 18:10:00 I 5553334444 60 4 1 0 LEE"
wrun "$PG_WORK/east-3/callfill.exe" "$(win_path "$PG_WORK/east-3")" --calls 3000 --weeks 4 \
    --end 12-20-2003 --seed 7 >/dev/null
for s in north-1 south-2 east-3; do sync_site $s; done

echo "== the window lists the sites"
got=$(wrun "$hq/hq_host.exe")
[ "$got" = "sites: All sites|east-3|north-1|south-2
exit=0" ] || fail "site list: $got"

words() { tr -s ' \t' ' ' | sed 's/^ //; s/ $//' | grep -v '^$' || true; }
# Ringtally's page over a site's own log and RingHQ's for that site: the same text but for the
# heading's site and the footer.
same_as_ringtally() { # SITE D T D T MASK
    local site=$1 start elapsed
    shift
    PRNVIEW32_PDF=$(win_path "$PG_WORK/$site-tally.pdf")
    wrun "$PG_WORK/$site/tally_host.exe" CllStsRpt --range "$@" >/dev/null
    start=$(date +%s%N)
    hq_report stats "$site" "$PG_WORK/$site-hq.pdf" "$@" >/dev/null
    elapsed=$((($(date +%s%N) - start) / 1000000))
    # Words only: the longer heading moves the columns pdftotext lays out.
    pdf_text "$PG_WORK/$site-tally.pdf" | grep -v "Printed on" | words >"$PG_WORK/tally.txt"
    pdf_text "$PG_WORK/$site-hq.pdf" | grep -v "Printed on" | sed "s/ - $site\$//" |
        words >"$PG_WORK/hq.txt"
    if [ ! -s "$PG_WORK/hq.txt" ] || ! diff -u "$PG_WORK/tally.txt" "$PG_WORK/hq.txt" >&2; then
        fail "RingHQ's statistics of $site differ from Ringtally's"
    else
        echo "ok   $site: RingHQ's statistics equal Ringtally's ($elapsed ms through the window)"
    fi
}
same_as_ringtally north-1 01-04-2004 00:00:00 01-17-2004 23:59:59 254
same_as_ringtally east-3 11-23-2003 11:30:00 12-20-2003 21:00:00 254
same_as_ringtally east-3 11-23-2003 00:00:00 12-20-2003 23:59:59 $((2 + 64 + 128))

echo "== the whole chain"
hq_report stats "All sites" "$PG_WORK/all.pdf" 01-04-2004 00:00:00 01-17-2004 23:59:59 254 >/dev/null
pdf_has "chain statistics" "$PG_WORK/all.pdf" \
    "Call Statistics from 04 Jan 2004 to 17 Jan 2004 - All sites" \
    "Total Calls For Period = 11 +Rings Before Calls Answered = \(Avg 1\) \(Hi 5\) \(Lo 0\)" \
    "Total Inbound Calls = 9" \
    "Total Outbound Calls = 2 +Call Duration Minutes = \(Avg 0\) \(Hi 2\) \(Lo 0\)" \
    "Number That Called most: 555-123-4567 +\(4 times\) +Number Dialed most: 555-987-6543 +\(2 times\)" \
    "Caller ID Errors for Period = 2" \
    "^ *Mon +3 +0( +0){14} +3 *$" "Chain HQ"

echo "== the chain's most frequent numbers over a whole month and the days around it"
# December from the month summary, the other whole days from the day summary, the two days the
# times cut from their calls; each figure worked out again from the calls themselves.
most_called() { # DIRECTION: number|calls, the earliest first call among equals
    psql_site "SELECT number, count(*) FROM cid_calls
        WHERE (call_day, call_time) >= ('2003-11-15', '12:00:00')
          AND (call_day, call_time) <= ('2004-01-10', '18:00:00') AND direction = '$1'
          AND CASE direction WHEN 'I' THEN number ~ '[0-9]' ELSE NOT start_only END
        GROUP BY number ORDER BY count(*) DESC, min(call_day + call_time), number LIMIT 1"
}
shown() { # number|calls as the page writes it, a dash allowed between digits
    echo "$(cut -d'|' -f1 <<<"$1" | sed 's/[0-9]/&-?/g') +\\($(cut -d'|' -f2 <<<"$1") times\\)"
}
inbound=$(most_called I) outbound=$(most_called O)
hq_report stats "All sites" "$PG_WORK/months.pdf" 11-15-2003 12:00:00 01-10-2004 18:00:00 254 \
    >/dev/null
pdf_has "chain's numbers over months and days ($inbound, $outbound)" "$PG_WORK/months.pdf" \
    "Number That Called most: $(shown "$inbound") +Number Dialed most: $(shown "$outbound")"

echo "== site comparison"
hq_report compare "All sites" "$PG_WORK/compare.pdf" 01-04-2004 00:00:00 01-17-2004 23:59:59 254 \
    >/dev/null
pdf_has "site comparison" "$PG_WORK/compare.pdf" \
    "Site Comparison From 04 Jan 2004 to 17 Jan 2004" \
    "Site +Inbound +Outbound +Minutes +Errors +Busiest Day +Busiest Hour +Short Calls %" \
    "^ *east-3 +0 +0 +0 +0 +N/A +N/A +N/A *$" \
    "^ *north-1 +6 +1 +5 +2 +01-05-2004 +10a +0.0% *$" \
    "^ *south-2 +3 +1 +3 +0 +01-05-2004 +10a +66.7% *$" \
    "^ *All sites +9 +2 +8 +2 +01-05-2004 +10a +28.6% *$" \
    "Chain HQ +Page 1 of 1"

echo "== settings and the server gone"
printf '[HQ]\r\nConnection=%s;PWD=x\r\n' "$(pg_connection)" >"$hq/RingHQ.INI"
got=$(wrun "$hq/hq_host.exe" || true)
case $got in
"box: RingHQ|Connection in section HQ of RingHQ.INI must not hold a password"*"exit=2") ;;
*) fail "password in the INI: $got" ;;
esac
printf '[HQ]\r\nConnection=%s\r\n' "$(pg_connection "$(pg_free_port)")" >"$hq/RingHQ.INI"
got=$(wrun "$hq/hq_host.exe" || true)
case $got in
"box: RingHQ|Cannot connect to the head-office database: "*"onnection refused"*"sites: All sites"*) ;;
*) fail "no server: $got" ;;
esac

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
