// Fault test support for the server's files: another program's lock on the call log and the
// log's own integrity check.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "ringhold_harness.h"

struct sqlite3;

// A write transaction held open on a record file through a connection of this process, as
// another program using the file's database directly could hold it: nobody else reads or
// writes the file until it ends. Nothing is changed; the transaction is rolled back.
class RecordFileLock {
  public:
    explicit RecordFileLock(const std::string &path);
    ~RecordFileLock() { Release(); }
    RecordFileLock(const RecordFileLock &) = delete;
    RecordFileLock &operator=(const RecordFileLock &) = delete;
    bool Held() const { return held_; }
    void Release();

  private:
    sqlite3 *db_ = nullptr;
    bool held_ = false;
};

// The database's own verdict on the file: "ok", or what it found wrong.
std::string IntegrityCheck(const std::string &path);
