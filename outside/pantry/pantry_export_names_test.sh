#!/usr/bin/env bash
# Pantry.dll exports every function under its plain name, and programs linked against its import
# library import them by those names (read from the files, so it checks i686 builds too).
#   pantry_export_names_test.sh OBJDUMP
set -euo pipefail
objdump=$1
names="DateToDays DaysToDate TimeToSeconds SecondsToTime SecondsToTime12 MonthName DOW SplitDate
SplitPath Exist MakeFontEx"
exported=$("$objdump" -p "$RING_BIN/Pantry.dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '$1 == "[" && NF == 3 { print $3 }')
imported=$(for exe in pantry_test.exe pantry_exports_test.exe; do
    "$objdump" -p "$RING_BIN/$exe" | sed -n '/DLL Name: Pantry.dll/,/^$/p' | awk 'NF == 3 { print $3 }'
done)
status=0
for name in $names; do
    grep -qx "$name" <<<"$exported" || { echo "Pantry.dll does not export $name" >&2; status=1; }
    grep -qx "$name" <<<"$imported" || { echo "no test imports $name by its plain name" >&2; status=1; }
done
extra=$(grep -vxF "$(tr ' ' '\n' <<<"$names")" <<<"$exported" || true)
[ -z "$extra" ] || { echo "Pantry.dll exports more: $extra" >&2; status=1; }
[ $status -eq 0 ] && echo "Pantry.dll: $(wc -w <<<"$names") plain exports, imported by name"
exit $status
