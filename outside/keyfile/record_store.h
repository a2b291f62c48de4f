// One open record file: an SQLite connection with its statements prepared once, the handle's
// place in the file (the key and insertion number of the record last read) and, on a read-only
// handle, the records read ahead of its get-nexts.
#pragma once
#include "key_definition.h"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

// Where a read copies the record: at most `capacity` bytes.
struct RecordBuffer {
    void *data = nullptr;
    int32_t capacity = 0;
};

class RecordStore {
  public:
    // Both return a status of keyfile.h.
    static int32_t Create(const char *path, const uint8_t *definition);
    static int32_t Open(const char *path, bool readOnly, std::unique_ptr<RecordStore> &out);
    ~RecordStore();
    RecordStore(const RecordStore &) = delete;
    RecordStore &operator=(const RecordStore &) = delete;

    int32_t Insert(const void *record, int32_t length);
    int32_t DeleteLastRead();
    int32_t GetFirst(int32_t keyNumber, RecordBuffer out);
    // op is KF_GET_EQUAL or KF_GET_GE.
    int32_t Find(int32_t op, int32_t keyNumber, const void *key, int32_t keyLength,
                 RecordBuffer out);
    int32_t GetNext(RecordBuffer out);
    int32_t Count(int64_t &count);

    // A count reads this many records at a time, each part in a read of its own: under Wine
    // about 30 ms of a reader's lock on a busy machine.
    static constexpr int64_t kCountPart = 16384;

  private:
    struct KeyStatements {
        sqlite3_stmt *first = nullptr;
        sqlite3_stmt *equal = nullptr;
        sqlite3_stmt *greaterOrEqual = nullptr;
        sqlite3_stmt *next = nullptr;
        sqlite3_stmt *batch = nullptr; // read-only handles only
    };
    // The record a get-next continues from, kept as its index value and insertion number so
    // that changes by other processes between calls neither skip nor repeat records.
    struct Place {
        bool valid = false;
        int key = 0; // 0-based
        std::string value;
        int64_t id = 0;
    };
    // Records that follow the place, read in one statement and served by later get-nexts;
    // their bytes lie one after another in `bytes`. The place is the last of them.
    struct Batch {
        struct Entry {
            int64_t id = 0;
            size_t offset = 0;
            size_t size = 0;
        };
        std::vector<Entry> entries;
        std::vector<unsigned char> bytes;
        // A lookup followed by a get-next or two reads little; a long scan pays for its read
        // transactions (a lock taken and dropped, the file's change counter read, the journal
        // looked for: several system calls, under Wine each a round trip to wineserver, about
        // half a millisecond in all there) once per many records. The largest batch holds the
        // file for a few milliseconds and about 150 KB of call log records.
        static constexpr int32_t kFirstSize = 16;
        static constexpr int32_t kLargestSize = 1024;
        size_t served = 0;
        int32_t nextSize = kFirstSize;

        void Clear() {
            entries.clear();
            bytes.clear();
            served = 0;
        }
    };

    RecordStore() = default;
    int32_t Prepare();
    int32_t ReadOne(sqlite3_stmt *statement, int key, RecordBuffer out, int32_t missing);
    int32_t RunWrite(sqlite3_stmt *statement, int &changes);
    void DropBatch();
    int32_t FetchBatch();
    int32_t ServeFromBatch(RecordBuffer out);

    sqlite3 *db_ = nullptr;
    bool readOnly_ = false;
    FileDefinition definition_;
    std::vector<KeyStatements> keys_;
    sqlite3_stmt *begin_ = nullptr;
    sqlite3_stmt *commit_ = nullptr;
    sqlite3_stmt *rollback_ = nullptr;
    sqlite3_stmt *insert_ = nullptr;
    sqlite3_stmt *delete_ = nullptr;
    // After the place (?1, ?2) in the shortest key's order: the ?3-th record, and how many
    // records follow, at most ?3.
    sqlite3_stmt *countStep_ = nullptr;
    sqlite3_stmt *countRest_ = nullptr;
    Place place_;
    Batch batch_;
    bool haveLastRead_ = false;
    int64_t lastReadId_ = 0;
};
