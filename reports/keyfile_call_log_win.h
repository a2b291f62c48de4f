// The call log read through KEYFILE in mode 2, so the server logging calls is never in the way;
// shared by the reports and the head-office sync.
#pragma once
#include "call_log_source.h"

class KeyfileCallLog : public CallLogSource {
  public:
    bool Exists(const std::string &path) override;
    int32_t Open(const std::string &path) override;
    int32_t Count(int32_t handle) override;
    int32_t ReadFirst(int32_t handle, const uint8_t (&key)[8], CallLogRecord &rec) override;
    int32_t ReadNext(int32_t handle, CallLogRecord &rec) override;
    void Close(int32_t handle) override;
};
