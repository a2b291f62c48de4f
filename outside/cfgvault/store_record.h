// StoreRecord: the 400-byte store data Cfgvault hands to the reports, whose page footers print
// the store name.
#pragma once
#include <cstddef>
#include <cstdint>

struct StoreRecord {
    int32_t RecordSize; // 400, so a caller can tell this layout from a later, longer one
    char Reserved[40];  // zero
    char Name[356];     // NUL-terminated within its width, the rest NUL; "" when none is set
};

static_assert(sizeof(StoreRecord) == 400, "the reports reserve 400 bytes");
static_assert(offsetof(StoreRecord, RecordSize) == 0, "StoreRecord layout");
static_assert(offsetof(StoreRecord, Reserved) == 4, "StoreRecord layout");
static_assert(offsetof(StoreRecord, Name) == 44, "the reports read the name at byte 44");
