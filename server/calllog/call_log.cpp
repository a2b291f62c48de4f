// The call log file through the record manager.
#include "call_log.h"

#include "file_names.h"
#include "keyfile.h"

#include <iterator>

namespace {

struct KeyDefinition {
    const char *Name;
    uint8_t Number;
    uint16_t Position; // 1-based
    uint8_t Length;
    uint8_t Flags;
};

// Key 1 is compared as one unsigned 64-bit little-endian number, so records order by day, then
// time of day.
const uint8_t kKeyUnsigned64 = 8;
const KeyDefinition kKeys[] = {
    {"Time/Date", 1, 1, 8, kKeyUnsigned64},
    {"Phone Number", 2, 41, 20, 0},
    {"InOut", 3, 101, 1, 0},
};
const size_t kKeyNameWidth = 25;

} // namespace

std::vector<uint8_t> CallLogDefinition() {
    std::vector<uint8_t> definition = {1, 1, static_cast<uint8_t>(std::size(kKeys))};
    for (const KeyDefinition &key : kKeys) {
        std::string name = key.Name;
        name.resize(kKeyNameWidth, ' ');
        definition.insert(definition.end(), name.begin(), name.end());
        definition.push_back(key.Number);
        definition.push_back(static_cast<uint8_t>(key.Position & 0xFF));
        definition.push_back(static_cast<uint8_t>(key.Position >> 8));
        definition.push_back(key.Length);
        definition.push_back(key.Flags);
    }
    return definition;
}

bool CreateCallLog(const std::string &programDir) {
    if (programDir.empty())
        return false;
    const std::vector<uint8_t> definition = CallLogDefinition();
    const int32_t zero = 0;
    return kf_Create((programDir + CALL_LOG_FILE).c_str(), definition.data(), &zero) == KF_OK;
}

int32_t OpenCallLog(const std::string &programDir) {
    if (programDir.empty())
        return 0;
    const int32_t mode = KF_MODE_UPDATE;
    return kf_Open((programDir + CALL_LOG_FILE).c_str(), &mode);
}

int32_t InsertCallLog(int32_t handle, const CallLogRecord &rec) {
    const int32_t op = KF_INSERT, length = sizeof rec, noKey = 0;
    CallLogRecord data = rec;
    return kf(&op, &handle, &data, &length, nullptr, &noKey, &noKey);
}
