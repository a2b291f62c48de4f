// WorkRecord: the 280-byte work data Cfgvault hands to the reports, which require it but read
// nothing from it.
#pragma once
#include <cstddef>
#include <cstdint>

struct WorkRecord {
    int32_t RecordSize; // 280, so a caller can tell this layout from a later, longer one
    char Reserved[276]; // zero
};

static_assert(sizeof(WorkRecord) == 280, "the reports reserve 280 bytes");
static_assert(offsetof(WorkRecord, RecordSize) == 0, "WorkRecord layout");
static_assert(offsetof(WorkRecord, Reserved) == 4, "WorkRecord layout");
