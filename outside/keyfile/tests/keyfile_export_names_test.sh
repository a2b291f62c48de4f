#!/usr/bin/env bash
# KEYFILE.dll exports every entry point under its plain name, and programs linked against its
# import library import them by those names (read from the files, so it checks i686 builds too).
#   keyfile_export_names_test.sh OBJDUMP
set -euo pipefail
objdump=$1
names="kf_Create kf_Open kf_Count kf_Delete kf_Close kf_CloseAll kf"
exported=$("$objdump" -p "$RING_BIN/KEYFILE.dll" |
    sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' | awk '$1 == "[" && NF == 3 { print $3 }')
imported=$("$objdump" -p "$RING_BIN/keyfile_test.exe" |
    sed -n '/DLL Name: KEYFILE.dll/,/^$/p' | awk 'NF == 3 { print $3 }')
status=0
for name in $names; do
    grep -qx "$name" <<<"$exported" || { echo "KEYFILE.dll does not export $name" >&2; status=1; }
    grep -qx "$name" <<<"$imported" || { echo "keyfile_test does not import $name by name" >&2; status=1; }
done
extra=$(grep -vxF "$(tr ' ' '\n' <<<"$names")" <<<"$exported" || true)
[ -z "$extra" ] || { echo "KEYFILE.dll exports more: $extra" >&2; status=1; }
[ $status -eq 0 ] && echo "KEYFILE.dll: $(wc -w <<<"$names") plain exports, imported by name"
exit $status
