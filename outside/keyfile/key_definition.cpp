// Parses record file definitions and builds index values that order as the keys do.
#include "key_definition.h"
#include "keyfile.h"

namespace {

constexpr size_t kHeaderBytes = 3;
constexpr size_t kSegmentBytes = 30; // name 25, key number 1, offset 2, length 1, flags 1
constexpr size_t kNameBytes = 25;
constexpr int kMaxKeys = 24;
constexpr uint8_t kKnownFlags = KF_SEG_UNIQUE | KF_SEG_BINARY | KF_SEG_UINT64;

void AppendSegment(std::string &out, const KeySegment &segment, const uint8_t *bytes) {
    // Big-endian makes byte order equal numeric order for the little-endian integer.
    if (segment.unsigned64) {
        for (int i = 7; i >= 0; --i)
            out.push_back(static_cast<char>(bytes[i]));
    } else {
        out.append(reinterpret_cast<const char *>(bytes), static_cast<size_t>(segment.length));
    }
}

} // namespace

size_t DefinitionLength(const uint8_t *header) {
    return kHeaderBytes + kSegmentBytes * header[2];
}

bool ParseDefinition(const std::string &bytes, FileDefinition &out) {
    out = FileDefinition{};
    const auto *b = reinterpret_cast<const uint8_t *>(bytes.data());
    if (bytes.size() < kHeaderBytes || b[0] != KF_DEFINITION_FORMAT || b[2] == 0 ||
        bytes.size() != DefinitionLength(b))
        return false;
    for (size_t s = 0; s < b[2]; ++s) {
        const uint8_t *seg = b + kHeaderBytes + s * kSegmentBytes + kNameBytes;
        const int keyNumber = seg[0];
        const int offset = seg[1] | (seg[2] << 8);
        const int length = seg[3];
        const uint8_t flags = seg[4];
        if ((flags & ~kKnownFlags) != 0 || offset < 1 || length < 1)
            return false;
        const bool unsigned64 = (flags & KF_SEG_UINT64) != 0;
        if (unsigned64 && ((flags & KF_SEG_BINARY) != 0 || length != 8))
            return false;
        const bool unique = (flags & KF_SEG_UNIQUE) != 0;
        // Segments of one key sit together; keys are numbered 1, 2, 3 ... in order.
        const int keys = static_cast<int>(out.keys.size());
        if (keyNumber == keys + 1 && keyNumber <= kMaxKeys) {
            out.keys.push_back(KeyDefinition{});
            out.keys.back().unique = unique;
        } else if (keys == 0 || keyNumber != keys || out.keys.back().unique != unique) {
            return false;
        }
        KeyDefinition &key = out.keys.back();
        key.segments.push_back(KeySegment{offset - 1, length, unsigned64});
        key.length += length;
        if (offset - 1 + length > out.minRecordLength)
            out.minRecordLength = offset - 1 + length;
    }
    return true;
}

std::string IndexValueOfRecord(const KeyDefinition &key, const uint8_t *record) {
    std::string out;
    out.reserve(static_cast<size_t>(key.length));
    for (const KeySegment &segment : key.segments)
        AppendSegment(out, segment, record + segment.offset);
    return out;
}

std::string IndexValueOfSearchKey(const KeyDefinition &key, const uint8_t *searchKey) {
    std::string out;
    out.reserve(static_cast<size_t>(key.length));
    for (const KeySegment &segment : key.segments) {
        AppendSegment(out, segment, searchKey);
        searchKey += segment.length;
    }
    return out;
}
