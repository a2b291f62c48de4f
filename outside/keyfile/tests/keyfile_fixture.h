// Shared by the record manager's tests: file definitions of the call log and the exclusion
// lists, records tagged for identification, and a scratch folder per test.
#pragma once
#include "call_log_record.h"
#include "excl_record.h"
#include "keyfile.h"
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

struct SegmentSpec {
    const char *name;
    uint8_t key;
    uint16_t offset; // 1-based
    uint8_t length;
    uint8_t flags;
};

inline std::vector<uint8_t> Definition(uint8_t first, uint8_t second,
                                       const std::vector<SegmentSpec> &segments) {
    std::vector<uint8_t> out{first, second, static_cast<uint8_t>(segments.size())};
    for (const SegmentSpec &s : segments) {
        std::string name(s.name);
        name.resize(25, ' ');
        out.insert(out.end(), name.begin(), name.end());
        out.push_back(s.key);
        out.push_back(static_cast<uint8_t>(s.offset & 0xff));
        out.push_back(static_cast<uint8_t>(s.offset >> 8));
        out.push_back(s.length);
        out.push_back(s.flags);
    }
    return out;
}

inline std::vector<uint8_t> CallLogDefinition() {
    return Definition(
        1, 1, {{"Time/Date", 1, 1, 8, 8}, {"Phone Number", 2, 41, 20, 0}, {"InOut", 3, 101, 1, 0}});
}

inline std::vector<uint8_t> ExclDefinition() {
    return Definition(1, 0, {{"Exlude Phone", 1, 1, 16, 6}});
}

// A call log record whose Name carries `tag`, so a test can tell records with equal keys apart.
inline CallLogRecord Call(uint32_t day, uint32_t seconds, const char *number, char direction,
                          const std::string &tag) {
    CallLogRecord r;
    std::memset(&r, 0, sizeof r);
    std::memcpy(&r.Seconds, &seconds, 4);
    std::memcpy(&r.Day, &day, 4);
    std::memset(r.Number, ' ', sizeof r.Number);
    std::memcpy(r.Number, number, std::min(std::strlen(number), sizeof r.Number));
    r.Direction = direction;
    std::strncpy(r.Name, tag.c_str(), sizeof r.Name - 1);
    return r;
}

inline ExclRecord Excl(const char *number, const char *note) {
    ExclRecord r;
    std::memset(&r, 0, sizeof r);
    std::memset(r.Number, ' ', sizeof r.Number);
    std::memcpy(r.Number, number, std::min(std::strlen(number), sizeof r.Number));
    std::strncpy(r.Note, note, sizeof r.Note - 1);
    return r;
}

// Key 1 as a caller passes it: the record's first 8 bytes.
inline std::vector<uint8_t> TimeKey(uint32_t day, uint32_t seconds) {
    std::vector<uint8_t> key(8);
    std::memcpy(key.data(), &seconds, 4);
    std::memcpy(key.data() + 4, &day, 4);
    return key;
}

inline std::filesystem::path ScratchFolder(const std::string &test) {
    const auto dir = std::filesystem::temp_directory_path() / ("keyfile_" + test);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

inline int32_t Create(const std::filesystem::path &path, const std::vector<uint8_t> &definition) {
    const int32_t zero = 0;
    return kf_Create(path.string().c_str(), definition.data(), &zero);
}

inline int32_t Open(const std::filesystem::path &path, int32_t mode) {
    return kf_Open(path.string().c_str(), &mode);
}

inline int32_t Insert(int32_t handle, const void *record, int32_t length) {
    const int32_t op = KF_INSERT;
    return kf(&op, &handle, const_cast<void *>(record), &length, nullptr, nullptr, nullptr);
}

inline int32_t Read(int32_t op, int32_t handle, void *record, int32_t length,
                    const void *key = nullptr, int32_t keyLength = 0, int32_t keyNumber = 0) {
    return kf(&op, &handle, record, &length, const_cast<void *>(key), &keyLength, &keyNumber);
}
