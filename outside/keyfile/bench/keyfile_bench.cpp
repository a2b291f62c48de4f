// Times the record manager against SQLite used directly in the same way (statements prepared
// once, one statement or write transaction per call, synchronous=FULL): inserts, a key-1 scan
// from the middle of a file, and a purge that deletes while it scans. Prints each ratio.
//   keyfile_bench [FOLDER] [--quick]   (--quick: a tenth of the records)
#include "keyfile_fixture.h"
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sqlite3.h>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// Two calls a minute, 500 a day, so key 1 has duplicates as a real log does.
CallLogRecord Record(int32_t n) {
    CallLogRecord r;
    std::memset(&r, 0, sizeof r);
    r.Day = 40000 + n / 500;
    r.Seconds = (n % 500) / 2 * 60;
    std::memset(r.Number, ' ', sizeof r.Number);
    std::snprintf(r.Number, sizeof r.Number, "555%07d", n % 9973);
    r.Number[10] = ' ';
    std::snprintf(r.Name, sizeof r.Name, "caller %d", n);
    r.Direction = n % 3 ? 'I' : 'O';
    r.Duration = n;
    return r;
}

std::string KeyOne(const CallLogRecord &r) {
    const uint64_t v = (static_cast<uint64_t>(static_cast<uint32_t>(r.Day)) << 32) |
                       static_cast<uint32_t>(r.Seconds);
    std::string out(8, '\0');
    for (int i = 0; i < 8; ++i)
        out[static_cast<size_t>(i)] = static_cast<char>(v >> (56 - 8 * i));
    return out;
}

double Seconds(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Check(bool ok, const char *what) {
    if (!ok) {
        std::fprintf(stderr, "keyfile_bench: %s failed\n", what);
        std::exit(1);
    }
}

// SQLite used directly: the same table, indexes and settings the record manager uses.
struct Direct {
    sqlite3 *db = nullptr;
    sqlite3_stmt *begin = nullptr, *commit = nullptr, *insert = nullptr, *remove = nullptr,
                 *first = nullptr, *ge = nullptr, *next = nullptr;

    explicit Direct(const fs::path &path, bool create) {
        Check(sqlite3_open(path.string().c_str(), &db) == SQLITE_OK, "sqlite open");
        sqlite3_busy_timeout(db, 10000);
        Exec("PRAGMA journal_mode=DELETE; PRAGMA synchronous=FULL;");
        if (create)
            Exec("CREATE TABLE kf_record(id INTEGER PRIMARY KEY AUTOINCREMENT, data BLOB NOT NULL,"
                 " k1 BLOB NOT NULL, k2 BLOB NOT NULL, k3 BLOB NOT NULL);"
                 "CREATE INDEX kf_key1 ON kf_record(k1); CREATE INDEX kf_key2 ON kf_record(k2);"
                 "CREATE INDEX kf_key3 ON kf_record(k3);");
        Prepare("BEGIN IMMEDIATE", begin);
        Prepare("COMMIT", commit);
        Prepare("INSERT INTO kf_record(data, k1, k2, k3) VALUES(?1, ?2, ?3, ?4)", insert);
        Prepare("DELETE FROM kf_record WHERE id = ?1", remove);
        Prepare("SELECT id, data, k1 FROM kf_record ORDER BY k1, id LIMIT 1", first);
        Prepare("SELECT id, data, k1 FROM kf_record WHERE k1 >= ?1 ORDER BY k1, id LIMIT 1", ge);
        Prepare("SELECT id, data, k1 FROM kf_record WHERE (k1, id) > (?1, ?2) "
                "ORDER BY k1, id LIMIT 1",
                next);
    }
    ~Direct() {
        for (sqlite3_stmt *s : {begin, commit, insert, remove, first, ge, next})
            sqlite3_finalize(s);
        sqlite3_close(db);
    }
    void Exec(const char *sql) {
        Check(sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK, sql);
    }
    void Prepare(const char *sql, sqlite3_stmt *&s) {
        Check(sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &s, nullptr) == SQLITE_OK,
              sql);
    }
    static void Step(sqlite3_stmt *s) {
        const int rc = sqlite3_step(s);
        sqlite3_reset(s);
        Check(rc == SQLITE_DONE, "step");
    }
    void BindRecord(const CallLogRecord &r, const std::string &k1) {
        sqlite3_bind_blob(insert, 1, &r, sizeof r, SQLITE_STATIC);
        sqlite3_bind_blob(insert, 2, k1.data(), 8, SQLITE_STATIC);
        sqlite3_bind_blob(insert, 3, r.Number, sizeof r.Number, SQLITE_STATIC);
        sqlite3_bind_blob(insert, 4, &r.Direction, 1, SQLITE_STATIC);
    }
    void Insert(const CallLogRecord &r) {
        const std::string k1 = KeyOne(r);
        BindRecord(r, k1);
        Step(begin);
        Step(insert);
        Step(commit);
    }
    // Fills the file in one transaction: setting up, not measured.
    void Fill(int32_t from, int32_t count) {
        Exec("BEGIN IMMEDIATE");
        for (int32_t n = from; n < from + count; ++n) {
            const CallLogRecord r = Record(n);
            const std::string k1 = KeyOne(r);
            BindRecord(r, k1);
            Step(insert);
        }
        Exec("COMMIT");
    }
    // One row of a read statement into `out`; keeps its key and id as the place.
    bool Read(sqlite3_stmt *s, CallLogRecord &out, std::string &key, int64_t &id) {
        if (sqlite3_step(s) != SQLITE_ROW) {
            sqlite3_reset(s);
            return false;
        }
        id = sqlite3_column_int64(s, 0);
        std::memcpy(&out, sqlite3_column_blob(s, 1), sizeof out);
        std::string k(static_cast<const char *>(sqlite3_column_blob(s, 2)),
                      static_cast<size_t>(sqlite3_column_bytes(s, 2)));
        sqlite3_reset(s);
        key = std::move(k);
        return true;
    }
    bool Next(CallLogRecord &out, std::string &key, int64_t &id) {
        sqlite3_bind_blob(next, 1, key.data(), static_cast<int>(key.size()), SQLITE_STATIC);
        sqlite3_bind_int64(next, 2, id);
        return Read(next, out, key, id);
    }
    void Delete(int64_t id) {
        sqlite3_bind_int64(remove, 1, id);
        Step(begin);
        Step(remove);
        Step(commit);
    }
};

int32_t CreateAndOpen(const fs::path &path) {
    Check(Create(path, CallLogDefinition()) == KF_OK, "kf_Create");
    const int32_t h = Open(path, KF_MODE_UPDATE);
    Check(h >= 1, "kf_Open");
    return h;
}

int32_t Kf(int32_t op, int32_t h, CallLogRecord &r, const void *key = nullptr) {
    return Read(op, h, &r, sizeof r, key, 8, 1);
}

void Report(const char *what, int32_t count, double keyfile, double direct, double target) {
    std::printf("%-30s %7d  keyfile %8.3f s  sqlite %8.3f s  ratio %5.2f  (target <= %.1f)\n", what,
                count, keyfile, direct, keyfile / direct, target);
}

} // namespace

int main(int argc, char **argv) {
    fs::path folder = fs::temp_directory_path() / "keyfile_bench";
    int32_t divisor = 1;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            divisor = 10;
        else
            folder = argv[i];
    }
    fs::remove_all(folder);
    fs::create_directories(folder);
    const int32_t inserts = 10000 / divisor, scans = 100000 / divisor, deletes = 50000 / divisor;

    {
        const int32_t h = CreateAndOpen(folder / "insert.OV5");
        Direct direct(folder / "insert.db", true);
        const double k = Seconds([&] {
            for (int32_t n = 0; n < inserts; ++n) {
                const CallLogRecord r = Record(n);
                Check(Insert(h, &r, sizeof r) == KF_OK, "insert");
            }
        });
        const double d = Seconds([&] {
            for (int32_t n = 0; n < inserts; ++n)
                direct.Insert(Record(n));
        });
        Report("insert", inserts, k, d, 2.0);
    }
    {
        // Twice the records scanned, so the scan starts in the middle of the file.
        const fs::path path = folder / "scan.OV5";
        const int32_t h = CreateAndOpen(path);
        Direct direct(path, false);
        direct.Fill(0, 2 * scans);
        const CallLogRecord middle = Record(scans);
        CallLogRecord r;
        const double k = Seconds([&] {
            Check(Kf(KF_GET_GE, h, r, &middle) == KF_OK, "get-ge");
            for (int32_t n = 1; n < scans; ++n)
                Check(Kf(KF_GET_NEXT, h, r) == KF_OK, "get-next");
        });
        Check(r.Duration == 2 * scans - 1, "keyfile scan length");
        const double d = Seconds([&] {
            std::string key = KeyOne(middle);
            int64_t id = 0;
            sqlite3_bind_blob(direct.ge, 1, key.data(), 8, SQLITE_STATIC);
            Check(direct.Read(direct.ge, r, key, id), "ge");
            for (int32_t n = 1; n < scans; ++n)
                Check(direct.Next(r, key, id), "next");
        });
        Check(r.Duration == 2 * scans - 1, "sqlite scan length");
        Report("key-1 scan from mid-file", scans, k, d, 1.5);
    }
    {
        const fs::path path = folder / "purge.OV5";
        const int32_t h = CreateAndOpen(path);
        Direct direct(path, false);
        direct.Fill(0, 2 * deletes);
        CallLogRecord r;
        // The record manager purges the first half, SQLite directly the second.
        const double k = Seconds([&] {
            Check(Kf(KF_GET_FIRST, h, r) == KF_OK, "get-first");
            for (int32_t n = 0; n < deletes; ++n) {
                Check(kf_Delete(&h) == KF_OK, "delete");
                Check(Kf(KF_GET_NEXT, h, r) == KF_OK, "get-next");
            }
        });
        Check(r.Duration == deletes, "keyfile purge length");
        const double d = Seconds([&] {
            std::string key;
            int64_t id = 0;
            Check(direct.Read(direct.first, r, key, id), "first");
            for (int32_t n = 0; n < deletes; ++n) {
                direct.Delete(id);
                Check(direct.Next(r, key, id) || n == deletes - 1, "next");
            }
        });
        Report("delete while scanning", deletes, k, d, 1.5);
    }
    kf_CloseAll();
    fs::remove_all(folder);
    return 0;
}
