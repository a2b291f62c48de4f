// Where the reports read the call log from: the record manager in the library, memory in tests.
#pragma once
#include "call_log_record.h"

#include <cstdint>
#include <string>

class CallLogSource {
  public:
    virtual ~CallLogSource() = default;
    virtual bool Exists(const std::string &path) = 0;
    // Opens the file for reading: a handle of 1 or more, or a value below 1.
    virtual int32_t Open(const std::string &path) = 0;
    // The number of records, negative when the count failed.
    virtual int32_t Count(int32_t handle) = 0;
    // The first record whose key 1 (time, then day, 8 bytes) is at or after `key`; a status,
    // 0 when a record was read.
    virtual int32_t ReadFirst(int32_t handle, const uint8_t (&key)[8], CallLogRecord &rec) = 0;
    // The record after the one last read, in key 1 order; a status, 0 when one was read.
    virtual int32_t ReadNext(int32_t handle, CallLogRecord &rec) = 0;
    // The two statuses the record manager ends a scan with when no record is left; any other
    // non-zero status is a failed read.
    static bool AtEnd(int32_t status) { return status == 8 || status == 9; }
    virtual void Close(int32_t handle) = 0;
};
