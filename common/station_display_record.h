// One line's 50-byte record in the station display file DATA\OvenCID.DAT, read by the order stations.
#pragma once
#include <cstddef>

#pragma pack(push, 1)
struct StationDisplayRecord {
    char Number[20]; // NUL-terminated, at most 19 characters, NUL after
    char Name[20];   // as Number
    char Time[10];   // NUL-terminated, at most 9 characters
};
#pragma pack(pop)

static_assert(sizeof(StationDisplayRecord) == 50, "StationDisplayRecord is 50 bytes");
static_assert(offsetof(StationDisplayRecord, Number) == 0 &&
                  offsetof(StationDisplayRecord, Name) == 20 &&
                  offsetof(StationDisplayRecord, Time) == 40,
              "StationDisplayRecord fields");
