#!/usr/bin/env bash
# The program directory of a program started from a folder whose path is far longer than the
# 128 characters older code allowed comes back whole.
set -euo pipefail
deep=$RING_BUILD_DIR/progdir-deep
for part in a b c d; do
    deep=$deep/$(printf "$part%.0s" $(seq 48))
done
mkdir -p "$deep"
cp "$RING_BIN/prog_dir_probe.exe" "$deep/"
# Wine shows the Linux root as drive Z:.
expected="Z:$(tr / '\\' <<<"$deep")\\"
actual=$("$RING_WINE_RUN" "$RING_WINE_DIR" "$deep/prog_dir_probe.exe" | tr -d '\r' | head -n 1)
rm -rf "$RING_BUILD_DIR/progdir-deep"
if [ "$actual" != "$expected" ]; then
    printf 'expected %s\n     got %s\n' "$expected" "$actual" >&2
    exit 1
fi
echo "program directory of ${#expected} characters read whole"
