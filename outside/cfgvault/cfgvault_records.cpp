// Building Cfgvault's records: every byte set, the store name cut so its NUL stays inside.
#include "cfgvault_records.h"

#include <algorithm>
#include <cstring>

StoreRecord MakeStoreRecord(const std::string &name) {
    StoreRecord record{};
    record.RecordSize = sizeof(StoreRecord);
    // A NUL inside the text ends the name, as it would for any caller reading it as a C string.
    const size_t length = std::min(std::strlen(name.c_str()), sizeof record.Name - 1);
    std::memcpy(record.Name, name.data(), length);
    return record;
}

WorkRecord MakeWorkRecord() {
    WorkRecord record{};
    record.RecordSize = sizeof(WorkRecord);
    return record;
}
