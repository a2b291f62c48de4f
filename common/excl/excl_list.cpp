// Keys, display form and record-manager calls of the exclusion lists.
#include "excl_list.h"
#include "keyfile.h"
#include "record_text.h"
#include <cstring>

namespace {

const size_t kKeyLength = sizeof(ExclRecord::Number);

std::string Digits(const std::string &text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

std::string PadKey(const std::string &text) {
    char key[kKeyLength];
    PutTextPadded(key, text);
    return std::string(key, kKeyLength);
}

bool IsBlankOrNul(char c) {
    return c == ' ' || c == '\0';
}

} // namespace

std::vector<uint8_t> ExclListDefinition() {
    std::vector<uint8_t> def = {1, 0, 1};
    char name[25];
    PutTextPadded(name, "Exlude Phone");
    def.insert(def.end(), name, name + sizeof name);
    const uint8_t segment[] = {1, 1, 0, uint8_t(kKeyLength), KF_SEG_UNIQUE | KF_SEG_BINARY};
    def.insert(def.end(), segment, segment + sizeof segment);
    return def;
}

int32_t CreateExclList(const std::string &programDir, const std::string &listFile) {
    if (programDir.empty())
        return 0;
    std::string path = programDir + listFile;
    std::vector<uint8_t> def = ExclListDefinition();
    const int32_t zero = 0;
    return kf_Create(path.c_str(), def.data(), &zero) == KF_OK ? 1 : 0;
}

int32_t OpenExclList(const std::string &programDir, const std::string &listFile) {
    if (programDir.empty())
        return 0;
    std::string path = programDir + listFile;
    const int32_t mode = KF_MODE_UPDATE;
    return kf_Open(path.c_str(), &mode);
}

std::string FormatExclPhone(const std::string &numberField) {
    std::string d = Digits(numberField);
    if (d.size() < 10)
        return d;
    std::string shown = d.substr(0, 3) + "-" + d.substr(3, 3) + "-" + d.substr(6, 4);
    if (d.size() > 10)
        shown += " x" + d.substr(10, 5);
    return shown;
}

std::string ExclKeyFromDigits(const std::string &text) {
    return PadKey(Digits(text));
}

std::string DisplayExclKey(const std::string &numberField) {
    return ExclKeyFromDigits(numberField);
}

std::string LogExclKey(const char (&number)[20]) {
    size_t begin = 0, end = sizeof number;
    while (begin < end && IsBlankOrNul(number[begin]))
        ++begin;
    while (end > begin && IsBlankOrNul(number[end - 1]))
        --end;
    return PadKey(std::string(number + begin, end - begin));
}

bool IsExcluded(int32_t handle, const std::string &key16) {
    if (handle == 0)
        return false;
    char key[kKeyLength];
    PutTextPadded(key, key16);
    ExclRecord found;
    const int32_t op = KF_GET_EQUAL, dataLength = sizeof found, keyLength = kKeyLength,
                  keyNumber = 1;
    return kf(&op, &handle, &found, &dataLength, key, &keyLength, &keyNumber) == KF_OK;
}

ExclRecord MakeExclRecord(const std::string &numberText, const std::string &noteText) {
    ExclRecord record;
    std::memset(&record, 0, sizeof record);
    std::string key = ExclKeyFromDigits(numberText);
    std::memcpy(record.Number, key.data(), kKeyLength);
    PutTextNul(record.Note, noteText);
    return record;
}

int32_t InsertExclRecord(int32_t handle, const ExclRecord &record) {
    ExclRecord copy = record;
    const int32_t op = KF_INSERT, dataLength = sizeof copy, none = 0;
    return kf(&op, &handle, &copy, &dataLength, nullptr, &none, &none);
}
