// Times the record manager against SQLite used directly in the same way (statements prepared
// once, one statement or write transaction per call, synchronous=FULL): inserts, a key-1 scan
// from the middle of a file, and a purge that deletes while it scans. Prints each ratio. Then a
// report's bare key-1 scan on a read-only handle against SQLite reading the same rows with one
// statement.
//   keyfile_bench [FOLDER] [--quick] [--bare]   (--quick: a tenth of the records; --bare: only
//   the bare scan)
#include "keyfile_fixture.h"
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
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

struct Timings {
    double keyfile = 0;
    double direct = 0;
};

// Runs both in ten alternating rounds, so that a change in the machine's load (other
// processes writing to the same disk) falls on both alike.
Timings Alternate(int32_t total, const std::function<void(int32_t)> &keyfile,
                  const std::function<void(int32_t)> &direct) {
    constexpr int32_t kRounds = 10;
    Timings t;
    for (int32_t round = 0; round < kRounds; ++round) {
        const int32_t count = total / kRounds + (round < total % kRounds ? 1 : 0);
        t.keyfile += Seconds([&] { keyfile(count); });
        t.direct += Seconds([&] { direct(count); });
    }
    return t;
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
                 *first = nullptr, *ge = nullptr, *next = nullptr, *all = nullptr;

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
        Prepare("SELECT data FROM kf_record ORDER BY k1, id", all);
    }
    ~Direct() {
        for (sqlite3_stmt *s : {begin, commit, insert, remove, first, ge, next, all})
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
    // Every record in key-1 order, each copied out as a caller's buffer would receive it.
    int32_t ScanAll() {
        int32_t count = 0;
        CallLogRecord r;
        while (sqlite3_step(all) == SQLITE_ROW) {
            const size_t size = static_cast<size_t>(sqlite3_column_bytes(all, 0));
            std::memcpy(&r, sqlite3_column_blob(all, 0), std::min(size, sizeof r));
            ++count;
        }
        sqlite3_reset(all);
        return count;
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

void Report(const char *what, int32_t count, const Timings &t, double target) {
    std::printf("%-26s %7d  keyfile %8.3f s  sqlite %8.3f s  ratio %5.2f  (target <= %.1f)\n", what,
                count, t.keyfile, t.direct, t.keyfile / t.direct, target);
    std::fflush(stdout);
}

int32_t ScanThroughKeyfile(int32_t h) {
    CallLogRecord r;
    int32_t count = 0;
    for (int32_t s = Kf(KF_GET_FIRST, h, r); s == KF_OK; s = Kf(KF_GET_NEXT, h, r))
        ++count;
    return count;
}

// What a report pays before composing anything: every record of the file in key-1 order
// through a mode-2 handle, against SQLite reading the same rows with one statement in this
// process. Whole scans alternate, so the file is in the system's cache for both alike.
void BareScan(const fs::path &folder, int32_t records) {
    const fs::path path = folder / "bare.OV5";
    Check(Create(path, CallLogDefinition()) == KF_OK, "kf_Create");
    Direct direct(path, false);
    direct.Fill(0, records);
    const int32_t h = Open(path, KF_MODE_READ);
    Check(h >= 1, "kf_Open mode 2");
    constexpr int kRounds = 3;
    Timings t;
    for (int round = 0; round < kRounds; ++round) {
        int32_t kCount = 0, dCount = 0;
        t.keyfile += Seconds([&] { kCount = ScanThroughKeyfile(h); });
        t.direct += Seconds([&] { dCount = direct.ScanAll(); });
        Check(kCount == records && dCount == records, "bare scan length");
    }
    const double keyfile = t.keyfile / kRounds, direct1 = t.direct / kRounds;
    const double perRecord = 1e6 / records;
    std::printf("bare key-1 scan, mode 2    %7d records  keyfile %8.3f s %7.2f us/record  "
                "sqlite one statement %8.3f s %7.2f us/record  ratio %6.2f  (target <= 5)\n",
                records, keyfile, keyfile * perRecord, direct1, direct1 * perRecord,
                keyfile / direct1);
    std::fflush(stdout);
    kf_Close(&h);
}

void Inserts(const fs::path &folder, int32_t inserts) {
    const int32_t h = CreateAndOpen(folder / "insert.OV5");
    Direct direct(folder / "insert.db", true);
    int32_t kNext = 0, dNext = 0;
    const Timings t = Alternate(
        inserts,
        [&](int32_t count) {
            for (const int32_t end = kNext + count; kNext < end; ++kNext) {
                const CallLogRecord r = Record(kNext);
                Check(Insert(h, &r, sizeof r) == KF_OK, "insert");
            }
        },
        [&](int32_t count) {
            for (const int32_t end = dNext + count; dNext < end; ++dNext)
                direct.Insert(Record(dNext));
        });
    Report("insert", inserts, t, 2.0);
}

void MidFileScan(const fs::path &folder, int32_t scans) {
    // Twice the records scanned, so the scan starts in the middle of the file.
    const fs::path path = folder / "scan.OV5";
    const int32_t h = CreateAndOpen(path);
    Direct direct(path, false);
    direct.Fill(0, 2 * scans);
    const CallLogRecord middle = Record(scans);
    CallLogRecord kr, dr;
    bool kStarted = false;
    std::string key;
    int64_t id = 0;
    const Timings t = Alternate(
        scans,
        [&](int32_t count) {
            if (!kStarted && count-- > 0)
                Check(Kf(KF_GET_GE, h, kr, &middle) == KF_OK, "get-ge");
            kStarted = true;
            for (; count > 0; --count)
                Check(Kf(KF_GET_NEXT, h, kr) == KF_OK, "get-next");
        },
        [&](int32_t count) {
            if (key.empty() && count-- > 0) {
                key = KeyOne(middle);
                sqlite3_bind_blob(direct.ge, 1, key.data(), 8, SQLITE_TRANSIENT);
                Check(direct.Read(direct.ge, dr, key, id), "ge");
            }
            for (; count > 0; --count)
                Check(direct.Next(dr, key, id), "next");
        });
    Check(kr.Duration == 2 * scans - 1 && dr.Duration == 2 * scans - 1, "scan length");
    Report("key-1 scan from mid-file", scans, t, 1.5);
}

void DeleteWhileScanning(const fs::path &folder, int32_t deletes) {
    // The record manager purges the first half of the file, SQLite directly the second.
    const fs::path path = folder / "purge.OV5";
    const int32_t h = CreateAndOpen(path);
    Direct direct(path, false);
    direct.Fill(0, 2 * deletes);
    CallLogRecord kr, dr;
    bool kStarted = false;
    std::string key;
    int64_t id = 0;
    int32_t dLeft = deletes;
    const Timings t = Alternate(
        deletes,
        [&](int32_t count) {
            if (!kStarted)
                Check(Kf(KF_GET_FIRST, h, kr) == KF_OK, "get-first");
            kStarted = true;
            for (; count > 0; --count) {
                Check(kf_Delete(&h) == KF_OK, "delete");
                Check(Kf(KF_GET_NEXT, h, kr) == KF_OK, "get-next");
            }
        },
        [&](int32_t count) {
            if (key.empty()) {
                key = KeyOne(Record(deletes));
                sqlite3_bind_blob(direct.ge, 1, key.data(), 8, SQLITE_TRANSIENT);
                Check(direct.Read(direct.ge, dr, key, id), "ge");
            }
            for (; count > 0; --count) {
                direct.Delete(id);
                --dLeft;
                Check(direct.Next(dr, key, id) || dLeft == 0, "next");
            }
        });
    Check(kf_Count(&h) == 0, "purge left records");
    Report("delete while scanning", deletes, t, 1.5);
}

} // namespace

int main(int argc, char **argv) {
    fs::path folder = fs::temp_directory_path() / "keyfile_bench";
    int32_t divisor = 1;
    bool bareOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--quick") == 0)
            divisor = 10;
        else if (std::strcmp(argv[i], "--bare") == 0)
            bareOnly = true;
        else
            folder = argv[i];
    }
    fs::remove_all(folder);
    fs::create_directories(folder);
    if (!bareOnly) {
        Inserts(folder, 10000 / divisor);
        MidFileScan(folder, 100000 / divisor);
        DeleteWhileScanning(folder, 50000 / divisor);
    }
    BareScan(folder, 100000 / divisor);
    kf_CloseAll();
    fs::remove_all(folder);
    return 0;
}
