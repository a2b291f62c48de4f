// Key definitions of record files: the byte string given at creation, and the index values
// derived from records and search keys so that SQLite's plain byte order is the key order.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct KeySegment {
    int offset = 0; // from the start of the record, 0-based
    int length = 0;
    bool unsigned64 = false; // an unsigned 64-bit little-endian integer
};

struct KeyDefinition {
    std::vector<KeySegment> segments;
    bool unique = false;
    int length = 0; // of a search key: the segments' lengths added up
};

struct FileDefinition {
    std::vector<KeyDefinition> keys; // keys[0] is key number 1
    int minRecordLength = 0;         // every record reaches the end of every segment
};

// Bytes of the definition string that starts with `header`: 3 header bytes, 30 per segment.
size_t DefinitionLength(const uint8_t *header);

// Fills `out` and returns true when this library can honour the definition.
bool ParseDefinition(const std::string &bytes, FileDefinition &out);

// The index value of `key` for a record, and for a search key laid out as the key's segments
// one after another (as a caller passes it).
std::string IndexValueOfRecord(const KeyDefinition &key, const uint8_t *record);
std::string IndexValueOfSearchKey(const KeyDefinition &key, const uint8_t *searchKey);
