// Fault test support for the server's files: another program's lock on the call log, the log's
// own integrity check, and bounds on the server's processor time and memory while it rides a
// fault out.
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

// Processor time and working set of a process from the moment this is made. A fault must not
// make the server spin or grow: Check gives "" or what went wrong. The bounds are wide enough
// for a slow, loaded machine and still far below a spinning thread (a whole core) or a leak of
// a record per pass.
class UsageWatch {
  public:
    explicit UsageWatch(const ChildProcess &process);
    std::string Check() const;
    // "<cpu> ms of processor time in <elapsed> ms, working set <start> -> <now> KB".
    std::string Figures() const;

  private:
    const ChildProcess &process_;
    ProcessUsage start_;
    DWORD startTick_;
};

// Some window of this process is a message box (#32770).
bool HasMessageBox(DWORD processId);

// The number of CR LF ended lines of a text.
size_t CountLines(const std::string &text);
