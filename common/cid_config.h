// The 32-byte configuration record of DATA\QuorlCID.CFG, written by Ringtune and read by Ringhold.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct CidConfig {
    uint8_t PortSel;   // 1..8 COM1..COM8, 9 UDP/IP, 0 unusable
    uint8_t UnitModel; // 0 needs option set-up by the server
    uint8_t FirstLine;
    uint8_t LastLine;
    uint32_t Options; // CFG_* bits below
    uint8_t Reserved8[8];
    uint8_t Reserved16[4];
    uint8_t UnitIp[4]; // first octet first, as in a socket address
    uint8_t Reserved24[4];
    uint8_t Reserved28[4];
};
#pragma pack(pop)

static_assert(sizeof(CidConfig) == 32, "CidConfig is stored as 32 bytes");
static_assert(offsetof(CidConfig, PortSel) == 0 && offsetof(CidConfig, UnitModel) == 1 &&
                  offsetof(CidConfig, FirstLine) == 2 && offsetof(CidConfig, LastLine) == 3,
              "CidConfig byte fields");
static_assert(offsetof(CidConfig, Options) == 4 && offsetof(CidConfig, Reserved8) == 8 &&
                  offsetof(CidConfig, Reserved16) == 16 && offsetof(CidConfig, UnitIp) == 20 &&
                  offsetof(CidConfig, Reserved24) == 24 && offsetof(CidConfig, Reserved28) == 28,
              "CidConfig word fields");

// Options bits.
enum : uint32_t {
    CFG_LOGGING = 1u << 1,       // call logging on
    CFG_FULL_LOG = 1u << 2,      // log at the end of a call, with duration and rings
    CFG_LOG_OUTBOUND = 1u << 3,  // full logging includes outbound calls
    CFG_RAW_OUTPUT = 1u << 4,    // copy every report to DATA\QuorlRaw.txt
    CFG_REFRESH_END = 1u << 7,   // refresh the station display at the start and end of a call
    CFG_EXCL_SHOW = 1u << 9,     // do not show numbers of the display exclusion list
    CFG_EXCL_LOG = 1u << 10,     // do not log numbers of the log exclusion list
    CFG_NO_LOG_WITHHELD = 1u << 11, // do not log PRIVATE / OUT-OF-AREA / UNKNOWN
    CFG_FILTER_UNIT_IP = 1u << 12,  // accept datagrams only from UnitIp
};

enum : uint8_t { PORT_UDP = 9 };
