// The 64-byte record of the exclusion lists DATA\QuorlExclLog.CID and DATA\QuorlExclShow.CID.
#pragma once
#include <cstddef>

#pragma pack(push, 1)
struct ExclRecord {
    char Number[16]; // key 1: digits only, space-padded
    char Note[48];   // NUL-terminated, at most 47 characters, NUL after
};
#pragma pack(pop)

static_assert(sizeof(ExclRecord) == 64, "ExclRecord is 64 bytes");
static_assert(offsetof(ExclRecord, Number) == 0 && offsetof(ExclRecord, Note) == 16,
              "ExclRecord fields");
