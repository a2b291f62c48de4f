// Fault test support for the server's files (see storage_fault_win.h).
#include "storage_fault_win.h"

#include <sqlite3.h>

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
