# Sourced: a program directory where the real Ringhold logs calls from a simulated unit over UDP
# and the background sync sends them on at Interval=5.
#   ringhold_site DIR UDP_PORT SITE   (needs $bin, the built programs, and pg_connection)
ringhold_site() {
    mkdir -p "$1/DATA" "$1/CONTROL"
    cp "$bin/Ringhold.exe" "$bin/Ringsync.exe" "$bin/KEYFILE.dll" "$bin/Pantry.dll" "$1/"
    printf '[CIDServer]\r\nIPTimeOut=1\r\nUDPPort=%s\r\n[CIDSync]\r\nConnection=%s\r\nSite=%s\r\nInterval=5\r\n' \
        "$2" "$(pg_connection)" "$3" >"$1/POSOvena.INI"
    # UDP link, lines 1 to 4, calls logged at their end with duration and rings.
    python3 - "$1/DATA/QuorlCID.CFG" <<'PY'
import struct, sys
options = 0x2 | 0x4 | 0x8
open(sys.argv[1], "wb").write(struct.pack("<BBBBI24s", 9, 0, 1, 4, options, bytes(24)))
PY
}
