// The 129-byte record of the call log DATA\QuorlLog.OV5, shared by the server, purge and reports.
#pragma once
#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct CallLogRecord {
    int32_t Seconds;        // time of day, seconds since midnight
    int32_t Day;            // day number (Pantry)
    char ExtraDigits[32];   // NUL-terminated: digits, * and # dialed after an outbound number
    char Number[20];        // space-padded: digits only, or PRIVATE / OUT-OF-AREA / UNKNOWN
    char Name[32];          // NUL-terminated
    int32_t Duration;       // seconds
    int16_t Line;
    int16_t Rings;
    char Direction;         // 'I' or 'O'
    uint32_t Status;        // LOG_STATUS_* bits
    uint8_t Reserved[24];   // always zero
};
#pragma pack(pop)

static_assert(sizeof(CallLogRecord) == 129, "CallLogRecord is stored as 129 bytes");
static_assert(offsetof(CallLogRecord, Seconds) == 0 && offsetof(CallLogRecord, Day) == 4 &&
                  offsetof(CallLogRecord, ExtraDigits) == 8 && offsetof(CallLogRecord, Number) == 40 &&
                  offsetof(CallLogRecord, Name) == 60 && offsetof(CallLogRecord, Duration) == 92,
              "CallLogRecord leading fields");
static_assert(offsetof(CallLogRecord, Line) == 96 && offsetof(CallLogRecord, Rings) == 98 &&
                  offsetof(CallLogRecord, Direction) == 100 && offsetof(CallLogRecord, Status) == 101 &&
                  offsetof(CallLogRecord, Reserved) == 105,
              "CallLogRecord trailing fields");

enum : uint32_t {
    LOG_STATUS_AT_START = 1, // logged at the start of the call: duration and rings unknown
    LOG_STATUS_CID_ERROR = 2 // the unit flagged a caller-ID error
};
