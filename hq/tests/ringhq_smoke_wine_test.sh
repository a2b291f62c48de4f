#!/usr/bin/env bash
# The head office in brief, for the tree where the long scenario is not registered (the 64-bit
# one): two stores' logs sent by Ringsync, RingHQ's site list, the chain's statistics and a
# comparison whose range starts inside a day, from a real server.
set -euo pipefail
source "$RING_SOURCE_DIR/hq/tests/hq_chain.sh"

for s in north-1 south-2; do make_site $s; done
wrun "$PG_WORK/north-1/Ringsync.exe" /init >/dev/null || fail "Ringsync /init"
fill_list north-1 \
    "01-05-2004 10:15:00 I 5551234567 90 3 1 0 JONES MARY" \
    "01-05-2004 11:00:00 O 5559876543 150 0 2 0"
fill_list south-2 \
    "01-05-2004 10:20:00 I 5551234567 8 2 1 0 JONES MARY" \
    "01-07-2004 18:10:00 I 5553334444 60 4 1 0 LEE"
for s in north-1 south-2; do sync_site $s; done
got=$(psql_site "SELECT count(*) FROM cid_calls")
[ "$got" = 4 ] || fail "calls at the server: $got"

got=$(wrun "$hq/hq_host.exe")
[ "$got" = "sites: All sites|north-1|south-2
exit=0" ] || fail "site list: $got"

hq_report stats "All sites" "$PG_WORK/all.pdf" 01-04-2004 00:00:00 01-17-2004 23:59:59 254 >/dev/null
pdf_has "chain statistics" "$PG_WORK/all.pdf" "Total Calls For Period = 4" \
    "Total Inbound Calls = 3" "Number That Called most: 555-123-4567 +\(2 times\)"

# From 10:18 on the Monday: north-1's first call is outside the range.
hq_report compare "All sites" "$PG_WORK/compare.pdf" 01-05-2004 10:18:00 01-17-2004 23:59:59 254 \
    >/dev/null
pdf_has "site comparison" "$PG_WORK/compare.pdf" \
    "^ *north-1 +0 +1 +2 +0 +01-05-2004 +11a +N/A *$" \
    "^ *south-2 +2 +0 +1 +0 +01-05-2004 +10a +50.0% *$" \
    "^ *All sites +2 +1 +3 +0 +01-05-2004 +10a +50.0% *$"

[ "$failures" -eq 0 ] || exit 1
echo "PASS"
