#!/usr/bin/env bash
# Checks that a module imports each listed function from each listed DLL by its plain name, as
# the host's copies of those DLLs export them. Reads the file, so i686 builds are checked too.
#   check_imports.sh OBJDUMP MODULE DLL:name,name... ...
set -euo pipefail
objdump=$1 module=$2
shift 2
table=$("$objdump" -p "$module")
status=0
for entry in "$@"; do
    dll=${entry%%:*}
    imported=$(sed -n "/DLL Name: $dll/,/^\$/p" <<<"$table" | awk 'NF == 3 { print $3 }')
    for name in ${entry#*:}; do
        grep -qx "$name" <<<"$imported" ||
            { echo "$(basename "$module") does not import $name from $dll by name" >&2; status=1; }
    done
done
[ $status -eq 0 ] && echo "$(basename "$module"): imports by plain name from $# libraries"
exit $status
