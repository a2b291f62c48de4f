#!/usr/bin/env bash
# Ringhold.exe exports INITCOMCTL32 and GETSYSFILEVER under their plain names, and nothing else.
#   ringhold_export_names_test.sh OBJDUMP   (RING_BIN from ctest)
set -euo pipefail
objdump=$1
exe=$RING_BIN/Ringhold.exe
names=$("$objdump" -p "$exe" | awk '/\[Ordinal\/Name Pointer\] Table/ {on = 1; next}
    on && /^[[:space:]]*\[/ {print $NF; next} on {on = 0}' | sort | tr '\n' ' ')
echo "exports of Ringhold.exe: $names"
if [ "$names" != "GETSYSFILEVER INITCOMCTL32 " ]; then
    echo "expected exactly GETSYSFILEVER and INITCOMCTL32" >&2
    exit 1
fi
