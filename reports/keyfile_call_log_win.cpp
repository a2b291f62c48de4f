// KEYFILE and Pantry behind the call log reading interface.
#include "keyfile_call_log_win.h"

#include "keyfile.h"
#include "pantry.h"

#include <algorithm>

bool KeyfileCallLog::Exists(const std::string &path) {
    return Exist(path.c_str()) != 0;
}
int32_t KeyfileCallLog::Open(const std::string &path) {
    const int32_t mode = KF_MODE_READ;
    return kf_Open(path.c_str(), &mode);
}
int32_t KeyfileCallLog::Count(int32_t handle) {
    return kf_Count(&handle);
}
int32_t KeyfileCallLog::ReadFirst(int32_t handle, const uint8_t (&key)[8], CallLogRecord &rec) {
    const int32_t op = KF_GET_GE, length = sizeof rec, keyLength = sizeof key, keyNumber = 1;
    uint8_t search[8]; // the record manager takes the key through a non-const pointer
    std::copy(key, key + sizeof key, search);
    return kf(&op, &handle, &rec, &length, search, &keyLength, &keyNumber);
}
int32_t KeyfileCallLog::ReadNext(int32_t handle, CallLogRecord &rec) {
    const int32_t op = KF_GET_NEXT, length = sizeof rec, none = 0;
    return kf(&op, &handle, &rec, &length, nullptr, &none, &none);
}
void KeyfileCallLog::Close(int32_t handle) {
    kf_Close(&handle);
}
