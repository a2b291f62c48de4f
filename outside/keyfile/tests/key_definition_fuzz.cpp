// Fuzzes the parsing of record file definitions: any bytes are either refused or give keys
// whose index values come from within a record of the definition's minimum length.
#include "key_definition.h"
#include <cstdint>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FileDefinition definition;
    if (!ParseDefinition(std::string(reinterpret_cast<const char *>(data), size), definition))
        return 0;
    if (definition.keys.empty())
        __builtin_trap();
    // Exactly as long as the definition demands: ASan catches a read past it.
    std::vector<uint8_t> record(static_cast<size_t>(definition.minRecordLength), 0xA5);
    for (const KeyDefinition &key : definition.keys) {
        const std::string value = IndexValueOfRecord(key, record.data());
        const std::vector<uint8_t> search(value.begin(), value.end());
        if (value.size() != static_cast<size_t>(key.length) ||
            IndexValueOfSearchKey(key, search.data()).size() != value.size())
            __builtin_trap();
    }
    return 0;
}
