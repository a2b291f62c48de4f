// Record files on SQLite. Every call is at most one write transaction or a few short reads, so
// no lock outlives a call: a server inserting, a purge deleting and a report scanning can share
// one file, and an insert that returned 0 is on disk (rollback journal, synchronous=FULL).
// A get-next on a read-only handle reads the records that follow in one statement and serves
// the get-nexts after it from memory.
#include "record_store.h"
#include "file_access.h"
#include "keyfile.h"
#include <algorithm>
#include <cstring>
#include <sqlite3.h>

namespace {

// Long enough to ride out a purge or a report holding the file for a moment.
constexpr int kBusyWaitMs = 10000;
// Marks a database as one of our record files ("KFR1").
constexpr int kApplicationId = 0x4B465231;

int32_t StatusOf(int rc) {
    if (rc == SQLITE_CONSTRAINT_UNIQUE)
        return KF_DUPLICATE;
    switch (rc & 0xff) {
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        return KF_BUSY;
    case SQLITE_NOTADB:
        return KF_NOT_RECORD_FILE;
    default:
        return KF_IO_ERROR;
    }
}

// Network shares rule out WAL, which needs shared memory between the processes.
int32_t OpenConnection(const char *path, sqlite3 *&db) {
    db = nullptr;
    const std::string name = PathForSqlite(path);
    if (name.empty())
        return KF_CANNOT_OPEN;
    int rc =
        sqlite3_open_v2(name.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
        return (rc & 0xff) == SQLITE_CANTOPEN ? KF_CANNOT_OPEN : KF_IO_ERROR;
    }
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyWaitMs);
    rc = sqlite3_exec(db, "PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;", nullptr, nullptr,
                      nullptr);
    if (rc != SQLITE_OK) {
        sqlite3_close(db);
        db = nullptr;
        return StatusOf(rc);
    }
    return KF_OK;
}

std::string KeyColumn(size_t key) {
    return "k" + std::to_string(key + 1);
}

std::string SchemaSql(const FileDefinition &definition) {
    std::string sql = "CREATE TABLE kf_definition(bytes BLOB NOT NULL);"
                      "CREATE TABLE kf_record(id INTEGER PRIMARY KEY AUTOINCREMENT, "
                      "data BLOB NOT NULL";
    for (size_t k = 0; k < definition.keys.size(); ++k)
        sql += ", " + KeyColumn(k) + " BLOB NOT NULL";
    sql += ");";
    for (size_t k = 0; k < definition.keys.size(); ++k) {
        sql += definition.keys[k].unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ";
        sql += "kf_key" + std::to_string(k + 1) + " ON kf_record(" + KeyColumn(k) + ");";
    }
    sql += "PRAGMA application_id=" + std::to_string(kApplicationId) + ";";
    return sql;
}

// The records after the place (?1, ?2) in key order, at most `limit` of them: the rest of the
// place's duplicates, then the keys after it. Each arm's LIMIT keeps its ORDER BY.
std::string FollowingSql(const std::string &select, const std::string &column,
                         const std::string &limit) {
    return "SELECT * FROM (" + select + "WHERE " + column + " = ?1 AND id > ?2 ORDER BY id LIMIT " +
           limit + ") UNION ALL SELECT * FROM (" + select + "WHERE " + column + " > ?1 ORDER BY " +
           column + ", id LIMIT " + limit + ") LIMIT " + limit;
}

// A count walks the index of the shortest key, the smallest part of the file that holds every
// record: the records themselves take up most of the file.
size_t CountKey(const FileDefinition &definition) {
    size_t shortest = 0;
    for (size_t k = 1; k < definition.keys.size(); ++k) {
        if (definition.keys[k].length < definition.keys[shortest].length)
            shortest = k;
    }
    return shortest;
}

int StepOnce(sqlite3_stmt *statement) {
    const int rc = sqlite3_step(statement);
    sqlite3_reset(statement);
    return rc;
}

int32_t BuildFile(sqlite3 *db, const std::string &bytes, const FileDefinition &definition) {
    int rc = sqlite3_exec(db, ("BEGIN IMMEDIATE;" + SchemaSql(definition)).c_str(), nullptr,
                          nullptr, nullptr);
    if (rc != SQLITE_OK)
        return StatusOf(rc);
    sqlite3_stmt *insert = nullptr;
    rc =
        sqlite3_prepare_v2(db, "INSERT INTO kf_definition(bytes) VALUES(?1)", -1, &insert, nullptr);
    if (rc == SQLITE_OK) {
        sqlite3_bind_blob(insert, 1, bytes.data(), static_cast<int>(bytes.size()), SQLITE_STATIC);
        rc = sqlite3_step(insert) == SQLITE_DONE ? SQLITE_OK : sqlite3_errcode(db);
    }
    sqlite3_finalize(insert);
    if (rc == SQLITE_OK)
        rc = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    return rc == SQLITE_OK ? KF_OK : StatusOf(rc);
}

int32_t ReadDefinition(sqlite3 *db, FileDefinition &definition) {
    sqlite3_stmt *statement = nullptr;
    int rc = sqlite3_prepare_v2(db, "PRAGMA application_id", -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return StatusOf(rc);
    rc = sqlite3_step(statement);
    const bool ours = rc == SQLITE_ROW && sqlite3_column_int(statement, 0) == kApplicationId;
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW)
        return StatusOf(rc);
    if (!ours)
        return KF_NOT_RECORD_FILE;
    rc = sqlite3_prepare_v2(db, "SELECT bytes FROM kf_definition", -1, &statement, nullptr);
    if (rc != SQLITE_OK)
        return KF_NOT_RECORD_FILE;
    rc = sqlite3_step(statement);
    std::string bytes;
    if (rc == SQLITE_ROW)
        bytes.assign(static_cast<const char *>(sqlite3_column_blob(statement, 0)),
                     static_cast<size_t>(sqlite3_column_bytes(statement, 0)));
    sqlite3_finalize(statement);
    if (rc != SQLITE_ROW)
        return rc == SQLITE_DONE ? KF_NOT_RECORD_FILE : StatusOf(rc);
    return ParseDefinition(bytes, definition) ? KF_OK : KF_NOT_RECORD_FILE;
}

} // namespace

int32_t RecordStore::Create(const char *path, const uint8_t *definition) {
    if (path == nullptr || *path == '\0')
        return KF_BAD_ARGUMENT;
    if (definition == nullptr)
        return KF_BAD_DEFINITION;
    const std::string bytes(reinterpret_cast<const char *>(definition),
                            DefinitionLength(definition));
    FileDefinition parsed;
    if (!ParseDefinition(bytes, parsed))
        return KF_BAD_DEFINITION;
    switch (CreateNewFile(path)) {
    case NewFileResult::Exists:
        return KF_FILE_EXISTS;
    case NewFileResult::Failed:
        return KF_IO_ERROR;
    case NewFileResult::Created:
        break;
    }
    sqlite3 *db = nullptr;
    int32_t status = OpenConnection(path, db);
    if (status == KF_OK)
        status = BuildFile(db, bytes, parsed);
    if (db != nullptr) {
        if (status != KF_OK)
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    // The file is ours (it did not exist a moment ago): never leave a half-made one behind.
    if (status != KF_OK)
        RemoveFile(path);
    return status;
}

int32_t RecordStore::Open(const char *path, bool readOnly, std::unique_ptr<RecordStore> &out) {
    if (path == nullptr || *path == '\0')
        return KF_BAD_ARGUMENT;
    std::unique_ptr<RecordStore> store(new RecordStore());
    store->readOnly_ = readOnly;
    // Readers open read-write too: one may have to roll back the journal of a killed writer.
    int32_t status = OpenConnection(path, store->db_);
    if (status == KF_OK)
        status = ReadDefinition(store->db_, store->definition_);
    if (status == KF_OK)
        status = store->Prepare();
    if (status == KF_OK)
        out = std::move(store);
    return status;
}

int32_t RecordStore::Prepare() {
    auto prepare = [this](const std::string &sql, sqlite3_stmt *&statement) {
        return sqlite3_prepare_v3(db_, sql.c_str(), -1, SQLITE_PREPARE_PERSISTENT, &statement,
                                  nullptr) == SQLITE_OK;
    };
    const size_t count = definition_.keys.size();
    const std::string countColumn = KeyColumn(CountKey(definition_));
    const std::string countSelect = "SELECT id, " + countColumn + " FROM kf_record ";
    std::string insert = "INSERT INTO kf_record(data";
    std::string values = "VALUES(?1";
    for (size_t k = 0; k < count; ++k) {
        insert += ", " + KeyColumn(k);
        values += ", ?" + std::to_string(k + 2);
    }
    bool ok =
        prepare("BEGIN IMMEDIATE", begin_) && prepare("COMMIT", commit_) &&
        prepare("ROLLBACK", rollback_) && prepare(insert + ") " + values + ")", insert_) &&
        prepare("DELETE FROM kf_record WHERE id = ?1", delete_) &&
        prepare(FollowingSql(countSelect, countColumn, "?3") + " OFFSET ?3 - 1", countStep_) &&
        prepare("SELECT count(*) FROM (" + FollowingSql(countSelect, countColumn, "?3") + ")",
                countRest_);
    keys_.resize(count);
    for (size_t k = 0; ok && k < count; ++k) {
        const std::string c = KeyColumn(k);
        const std::string select = "SELECT id, data, " + c + " FROM kf_record ";
        // The next record: the rest of the current key's duplicates, else the next key.
        ok = prepare(select + "ORDER BY " + c + ", id LIMIT 1", keys_[k].first) &&
             prepare(select + "WHERE " + c + " = ?1 ORDER BY id LIMIT 1", keys_[k].equal) &&
             prepare(select + "WHERE " + c + " >= ?1 ORDER BY " + c + ", id LIMIT 1",
                     keys_[k].greaterOrEqual) &&
             prepare(FollowingSql(select, c, "1"), keys_[k].next) &&
             (!readOnly_ || prepare(FollowingSql(select, c, "?3"), keys_[k].batch));
    }
    return ok ? KF_OK : KF_NOT_RECORD_FILE;
}

RecordStore::~RecordStore() {
    for (KeyStatements &k : keys_) {
        for (sqlite3_stmt *statement : {k.first, k.equal, k.greaterOrEqual, k.next, k.batch})
            sqlite3_finalize(statement);
    }
    for (sqlite3_stmt *statement :
         {begin_, commit_, rollback_, insert_, delete_, countStep_, countRest_})
        sqlite3_finalize(statement);
    sqlite3_close_v2(db_);
}

int32_t RecordStore::RunWrite(sqlite3_stmt *statement, int &changes) {
    int rc = StepOnce(begin_);
    if (rc != SQLITE_DONE)
        return StatusOf(rc);
    rc = StepOnce(statement);
    if (rc == SQLITE_DONE) {
        changes = sqlite3_changes(db_);
        rc = StepOnce(commit_);
    }
    if (rc != SQLITE_DONE) {
        if (!sqlite3_get_autocommit(db_))
            StepOnce(rollback_);
        return StatusOf(rc);
    }
    return KF_OK;
}

int32_t RecordStore::ReadOne(sqlite3_stmt *statement, int key, RecordBuffer out, int32_t missing) {
    DropBatch();
    const int rc = sqlite3_step(statement);
    if (rc != SQLITE_ROW) {
        sqlite3_reset(statement);
        haveLastRead_ = false;
        return rc == SQLITE_DONE ? missing : StatusOf(rc);
    }
    const int64_t id = sqlite3_column_int64(statement, 0);
    const int size = sqlite3_column_bytes(statement, 1);
    const int copy = std::min(size, out.capacity);
    if (copy > 0)
        std::memcpy(out.data, sqlite3_column_blob(statement, 1), static_cast<size_t>(copy));
    std::string value(static_cast<const char *>(sqlite3_column_blob(statement, 2)),
                      static_cast<size_t>(sqlite3_column_bytes(statement, 2)));
    // Resetting ends the read transaction: nothing stays locked until the next call.
    sqlite3_reset(statement);
    place_.valid = true;
    place_.key = key;
    place_.value = std::move(value);
    place_.id = id;
    haveLastRead_ = true;
    lastReadId_ = id;
    return KF_OK;
}

void RecordStore::DropBatch() {
    batch_.Clear();
    batch_.nextSize = Batch::kFirstSize;
}

int32_t RecordStore::FetchBatch() {
    sqlite3_stmt *statement = keys_[static_cast<size_t>(place_.key)].batch;
    sqlite3_bind_blob(statement, 1, place_.value.data(), static_cast<int>(place_.value.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int64(statement, 2, place_.id);
    sqlite3_bind_int(statement, 3, batch_.nextSize);
    batch_.Clear();
    // Not into place_.value: the statement reads that binding until it is reset.
    std::string lastKey;
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        const auto *data = static_cast<const unsigned char *>(sqlite3_column_blob(statement, 1));
        const size_t size = static_cast<size_t>(sqlite3_column_bytes(statement, 1));
        batch_.entries.push_back({sqlite3_column_int64(statement, 0), batch_.bytes.size(), size});
        batch_.bytes.insert(batch_.bytes.end(), data, data + size);
        lastKey.assign(static_cast<const char *>(sqlite3_column_blob(statement, 2)),
                       static_cast<size_t>(sqlite3_column_bytes(statement, 2)));
    }
    // Resetting ends the read transaction: nothing stays locked until the next call.
    sqlite3_reset(statement);
    if (batch_.entries.empty()) {
        haveLastRead_ = false;
        return rc == SQLITE_DONE ? KF_END : StatusOf(rc);
    }
    // A read that failed part way still serves the records it got, all read under one lock;
    // the get-next after them meets the failure again.
    place_.value = std::move(lastKey);
    place_.id = batch_.entries.back().id;
    batch_.nextSize = std::min(batch_.nextSize * 16, Batch::kLargestSize);
    return KF_OK;
}

int32_t RecordStore::ServeFromBatch(RecordBuffer out) {
    const Batch::Entry &entry = batch_.entries[batch_.served++];
    const size_t copy = std::min(entry.size, static_cast<size_t>(out.capacity));
    if (copy > 0)
        std::memcpy(out.data, batch_.bytes.data() + entry.offset, copy);
    haveLastRead_ = true;
    lastReadId_ = entry.id;
    return KF_OK;
}

int32_t RecordStore::Insert(const void *record, int32_t length) {
    if (readOnly_)
        return KF_READ_ONLY;
    if (record == nullptr || length < definition_.minRecordLength)
        return KF_BAD_ARGUMENT;
    const auto *bytes = static_cast<const uint8_t *>(record);
    std::vector<std::string> values;
    values.reserve(definition_.keys.size());
    for (const KeyDefinition &key : definition_.keys)
        values.push_back(IndexValueOfRecord(key, bytes));
    sqlite3_bind_blob(insert_, 1, record, length, SQLITE_STATIC);
    for (size_t k = 0; k < values.size(); ++k)
        sqlite3_bind_blob(insert_, static_cast<int>(k + 2), values[k].data(),
                          static_cast<int>(values[k].size()), SQLITE_STATIC);
    int changes = 0;
    const int32_t status = RunWrite(insert_, changes);
    sqlite3_clear_bindings(insert_);
    return status;
}

int32_t RecordStore::DeleteLastRead() {
    if (readOnly_)
        return KF_READ_ONLY;
    if (!haveLastRead_)
        return KF_NO_CURRENT;
    sqlite3_bind_int64(delete_, 1, lastReadId_);
    int changes = 0;
    const int32_t status = RunWrite(delete_, changes);
    if (status != KF_OK)
        return status;
    // The place stays on the deleted record, so a get-next continues with its follower.
    haveLastRead_ = false;
    return changes == 0 ? KF_RECORD_GONE : KF_OK;
}

int32_t RecordStore::GetFirst(int32_t keyNumber, RecordBuffer out) {
    if (keyNumber < 1 || keyNumber > static_cast<int32_t>(keys_.size()))
        return KF_BAD_KEY_NUMBER;
    const int key = keyNumber - 1;
    const int32_t status = ReadOne(keys_[static_cast<size_t>(key)].first, key, out, KF_END);
    if (status != KF_OK)
        place_.valid = false;
    return status;
}

int32_t RecordStore::Find(int32_t op, int32_t keyNumber, const void *key, int32_t keyLength,
                          RecordBuffer out) {
    if (keyNumber < 1 || keyNumber > static_cast<int32_t>(keys_.size()))
        return KF_BAD_KEY_NUMBER;
    const size_t k = static_cast<size_t>(keyNumber - 1);
    const KeyDefinition &definition = definition_.keys[k];
    if (key == nullptr || keyLength < 0 || (keyLength > 0 && keyLength < definition.length))
        return KF_BAD_ARGUMENT;
    const std::string value = IndexValueOfSearchKey(definition, static_cast<const uint8_t *>(key));
    sqlite3_stmt *statement = op == KF_GET_EQUAL ? keys_[k].equal : keys_[k].greaterOrEqual;
    sqlite3_bind_blob(statement, 1, value.data(), static_cast<int>(value.size()), SQLITE_STATIC);
    const int32_t status =
        ReadOne(statement, static_cast<int>(k), out, op == KF_GET_EQUAL ? KF_NOT_FOUND : KF_END);
    sqlite3_clear_bindings(statement);
    if (status != KF_OK)
        place_.valid = false;
    return status;
}

int32_t RecordStore::GetNext(RecordBuffer out) {
    if (!place_.valid)
        return KF_NO_CURRENT;
    // At the end the place stays, so a later get-next finds records added after it.
    if (readOnly_) {
        if (batch_.served == batch_.entries.size()) {
            const int32_t status = FetchBatch();
            if (status != KF_OK)
                return status;
        }
        return ServeFromBatch(out);
    }
    sqlite3_stmt *statement = keys_[static_cast<size_t>(place_.key)].next;
    // ReadOne replaces place_.value only after the statement is done with it.
    sqlite3_bind_blob(statement, 1, place_.value.data(), static_cast<int>(place_.value.size()),
                      SQLITE_STATIC);
    sqlite3_bind_int64(statement, 2, place_.id);
    return ReadOne(statement, place_.key, out, KF_END);
}

int32_t RecordStore::Count(int64_t &count) {
    count = 0;
    // One statement over a million records would keep a server's commit waiting for as long as
    // it reads (rollback journal: the commit needs every reader gone). A part at a time, each in
    // a read of its own, lets the commit in between; the place between parts is a key and an
    // insertion number, as for a get-next, so duplicates across a part's edge count once.
    std::string key; // empty: before every record, whose index values are never empty
    int64_t id = 0;
    const auto bindPlace = [&key, &id](sqlite3_stmt *statement) {
        if (key.empty())
            sqlite3_bind_zeroblob(statement, 1, 0);
        else
            sqlite3_bind_blob(statement, 1, key.data(), static_cast<int>(key.size()),
                              SQLITE_STATIC);
        sqlite3_bind_int64(statement, 2, id);
        sqlite3_bind_int64(statement, 3, kCountPart);
    };
    int64_t total = 0;
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW) {
        bindPlace(countStep_);
        rc = sqlite3_step(countStep_);
        std::string last;
        if (rc == SQLITE_ROW) {
            id = sqlite3_column_int64(countStep_, 0);
            last.assign(static_cast<const char *>(sqlite3_column_blob(countStep_, 1)),
                        static_cast<size_t>(sqlite3_column_bytes(countStep_, 1)));
            total += kCountPart;
        }
        // Not into key before the reset: the statement reads that binding until then.
        sqlite3_reset(countStep_);
        if (rc == SQLITE_ROW)
            key = std::move(last);
    }
    if (rc != SQLITE_DONE)
        return StatusOf(rc);
    // Fewer than a part's records follow the place.
    bindPlace(countRest_);
    rc = sqlite3_step(countRest_);
    if (rc == SQLITE_ROW)
        total += sqlite3_column_int64(countRest_, 0);
    sqlite3_reset(countRest_);
    if (rc != SQLITE_ROW)
        return StatusOf(rc);
    count = total;
    return KF_OK;
}
