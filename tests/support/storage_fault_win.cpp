// Fault test support for the server's files (see storage_fault_win.h).
#include "storage_fault_win.h"

#include <sqlite3.h>

#include <cstdio>

RecordFileLock::RecordFileLock(const std::string &path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        return;
    sqlite3_busy_timeout(db_, 10000);
    held_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr) == SQLITE_OK;
}

void RecordFileLock::Release() {
    if (held_)
        sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    held_ = false;
    if (db_)
        sqlite3_close(db_);
    db_ = nullptr;
}

std::string IntegrityCheck(const std::string &path) {
    sqlite3 *db = nullptr;
    std::string verdict;
    // Read-write: opening may have to roll back the journal of a writer that was killed.
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
        verdict = "cannot open: " + std::string(sqlite3_errmsg(db));
    } else {
        sqlite3_busy_timeout(db, 10000);
        sqlite3_stmt *statement = nullptr;
        if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK)
            verdict = "cannot check: " + std::string(sqlite3_errmsg(db));
        while (statement && sqlite3_step(statement) == SQLITE_ROW) {
            if (!verdict.empty())
                verdict += "; ";
            verdict += reinterpret_cast<const char *>(sqlite3_column_text(statement, 0));
        }
        sqlite3_finalize(statement);
    }
    sqlite3_close(db);
    return verdict;
}

UsageWatch::UsageWatch(const ChildProcess &process)
    : process_(process), start_(process.Usage()), startTick_(GetTickCount()) {}

std::string UsageWatch::Check() const {
    // A quarter of one core, plus a start allowance: a pass sleeps 500 ms and a fault makes it
    // fail fast or wait, so even a loaded machine stays far below; a spin takes a whole core.
    const uint64_t cpuAllowanceMs = 3000;
    const uint64_t memoryAllowance = 16u << 20;
    ProcessUsage now = process_.Usage();
    uint64_t elapsed = GetTickCount() - startTick_;
    uint64_t cpu = now.CpuMs - start_.CpuMs;
    char text[200] = "";
    if (now.WorkingSetBytes == 0)
        std::snprintf(text, sizeof text, "the process has gone");
    else if (cpu > elapsed / 4 + cpuAllowanceMs)
        std::snprintf(text, sizeof text, "%llu ms of processor time in %llu ms",
                      (unsigned long long)cpu, (unsigned long long)elapsed);
    else if (now.WorkingSetBytes > start_.WorkingSetBytes + memoryAllowance)
        std::snprintf(text, sizeof text, "working set grew from %llu to %llu bytes",
                      (unsigned long long)start_.WorkingSetBytes,
                      (unsigned long long)now.WorkingSetBytes);
    return text;
}

std::string UsageWatch::Figures() const {
    ProcessUsage now = process_.Usage();
    char text[200];
    std::snprintf(text, sizeof text,
                  "%llu ms of processor time in %lu ms, working set %llu -> %llu KB",
                  (unsigned long long)(now.CpuMs - start_.CpuMs),
                  (unsigned long)(GetTickCount() - startTick_),
                  (unsigned long long)(start_.WorkingSetBytes >> 10),
                  (unsigned long long)(now.WorkingSetBytes >> 10));
    return text;
}

bool HasMessageBox(DWORD processId) {
    return FindMessageBox(processId, nullptr, 0) != nullptr;
}

size_t CountLines(const std::string &text) {
    size_t lines = 0;
    for (size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; at += 2)
        lines++;
    return lines;
}
