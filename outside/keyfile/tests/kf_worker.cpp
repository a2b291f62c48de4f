// Test worker: one of several processes sharing a call log (inserting, purging old records,
// scanning a range of key 1), or an inserter to be killed, or a dump of what a file holds.
//   kf_worker create PATH
//   kf_worker insert PATH FIRST COUNT        "inserted N" per record
//   kf_worker insert-until-killed PATH LOG   appends "inserted N PID" to LOG after each insert
//   kf_worker purge PATH CUTOFF_DAY STOP     "deleted N"; passes until the file STOP exists
//   kf_worker scan PATH LOW_DAY HIGH_DAY STOP  checks the order of each pass over the range
//   kf_worker dump PATH                      "record N DAY" in key order, opened read-only
//   kf_worker insert-late PATH FIRST COUNT   as insert, on days after every other record
//   kf_worker delete PATH N...               "deleted N" for each record numbered N
//   kf_worker hold-scan PATH DIR             "record N" in key order on a read-only handle:
//     two, then DIR/held and a wait for DIR/go; on to the end, "end", DIR/ended and a wait for
//     DIR/again; on to the end again, "end"
// Record N is the N-th record an inserter makes; it carries N in its duration field.
#include "keyfile_fixture.h"
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#ifdef _WIN32
#include <process.h>
#define getpid _getpid
#else
#include <unistd.h>
#endif

namespace {

constexpr uint32_t kFirstDay = 40000;
constexpr uint32_t kDays = 50;

// Records arrive in scrambled key order, with many sharing a key, so that inserts land before,
// at and after the places of the purge and the scan.
CallLogRecord RecordNumber(int32_t n, bool late = false) {
    CallLogRecord r;
    std::memset(&r, 0, sizeof r);
    r.Day = static_cast<int32_t>(kFirstDay + (static_cast<uint32_t>(n) * 7919u) % kDays +
                                 (late ? kDays : 0));
    r.Seconds = (n % 7) * 60;
    std::memset(r.Number, ' ', sizeof r.Number);
    std::snprintf(r.Name, sizeof r.Name, "record %d", n);
    r.Duration = n;
    r.Direction = 'I';
    return r;
}

int CreateCallLog(const char *path) {
    const int32_t status = Create(path, CallLogDefinition());
    if (status != KF_OK)
        std::printf("failed create %d\n", status);
    return status == KF_OK ? 0 : 1;
}

// The inserter here takes the file back the moment it lets it go; on a loaded machine it can
// hold the others off longer than the record manager's 10 s wait. Busy means: try again (a
// busy call changes nothing, not even the place of a scan).
int32_t UntilNotBusy(const std::function<int32_t()> &call) {
    int32_t status = call();
    for (int tries = 1; status == KF_BUSY && tries < 30; ++tries)
        status = call();
    return status;
}

int32_t OpenOrExit(const char *path, int32_t mode) {
    const int32_t h = kf_Open(path, &mode);
    if (h < 1) {
        std::printf("failed open %d\n", h);
        std::exit(1);
    }
    return h;
}

int32_t InsertNumber(int32_t h, int32_t n, bool late = false) {
    const CallLogRecord r = RecordNumber(n, late);
    return Insert(h, &r, sizeof r);
}

// Reads by key 1; `key` is used by the positioning reads only.
int32_t ReadCall(int32_t op, int32_t h, CallLogRecord &r, const void *key = nullptr) {
    return UntilNotBusy([&] { return Read(op, h, &r, sizeof r, key, 8, 1); });
}

uint64_t KeyOne(const CallLogRecord &r) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(r.Day)) << 32) |
           static_cast<uint32_t>(r.Seconds);
}

bool Exists(const char *path) {
    if (FILE *f = std::fopen(path, "rb")) {
        std::fclose(f);
        return true;
    }
    return false;
}

int InsertRange(const char *path, int32_t first, int32_t count, bool late) {
    const int32_t h = OpenOrExit(path, KF_MODE_UPDATE);
    for (int32_t n = first; n < first + count; ++n) {
        const int32_t status = UntilNotBusy([&] { return InsertNumber(h, n, late); });
        if (status != KF_OK) {
            std::printf("failed insert %d status %d\n", n, status);
            return 1;
        }
        std::printf("inserted %d\n", n);
    }
    return 0;
}

int InsertUntilKilled(const char *path, const char *log) {
    const int32_t h = OpenOrExit(path, KF_MODE_UPDATE);
    FILE *out = std::fopen(log, "a");
    if (out == nullptr)
        return 1;
    for (int32_t n = 0;; ++n) {
        if (InsertNumber(h, n) != KF_OK)
            return 1;
        std::fprintf(out, "inserted %d %d\n", n, static_cast<int>(getpid()));
        std::fflush(out);
    }
}

// One pass of the purge: delete every record of a day before the cutoff, oldest first.
bool PurgePass(int32_t h, uint32_t cutoff) {
    CallLogRecord r;
    int32_t status = ReadCall(KF_GET_FIRST, h, r);
    while (status == KF_OK && static_cast<uint32_t>(r.Day) < cutoff) {
        const int32_t deleted = UntilNotBusy([&] { return kf_Delete(&h); });
        if (deleted != KF_OK) {
            std::printf("failed delete %d status %d\n", r.Duration, deleted);
            return false;
        }
        std::printf("deleted %d\n", r.Duration);
        status = ReadCall(KF_GET_NEXT, h, r);
    }
    if (status != KF_OK && status != KF_END) {
        std::printf("failed purge read %d\n", status);
        return false;
    }
    return true;
}

int Purge(const char *path, uint32_t cutoff, const char *stop) {
    const int32_t h = OpenOrExit(path, KF_MODE_UPDATE);
    bool last = false;
    do {
        last = Exists(stop);
        if (!PurgePass(h, cutoff))
            return 1;
    } while (!last);
    return 0;
}

// A pass must come in strictly ascending (key 1, record number) order: nothing repeated.
int Scan(const char *path, uint32_t low, uint32_t high, const char *stop) {
    const int32_t h = OpenOrExit(path, KF_MODE_READ);
    uint8_t start[8] = {};
    std::memcpy(start + 4, &low, 4);
    int passes = 0;
    long records = 0;
    bool last = false;
    do {
        last = Exists(stop);
        CallLogRecord r;
        uint64_t previousKey = 0;
        int32_t previousN = -1;
        bool first = true;
        int32_t status = ReadCall(KF_GET_GE, h, r, start);
        for (; status == KF_OK && static_cast<uint32_t>(r.Day) <= high;
             status = ReadCall(KF_GET_NEXT, h, r)) {
            const uint64_t key = KeyOne(r);
            if (!first && (key < previousKey || (key == previousKey && r.Duration <= previousN))) {
                std::printf("failed order: %d after %d\n", r.Duration, previousN);
                return 1;
            }
            first = false;
            previousKey = key;
            previousN = r.Duration;
            ++records;
        }
        if (status != KF_OK && status != KF_END) {
            std::printf("failed scan read %d\n", status);
            return 1;
        }
        ++passes;
    } while (!last);
    std::printf("scanned %d passes %ld records\n", passes, records);
    return 0;
}

// Finds record n among the records sharing its key 1 and deletes it.
int DeleteNumbers(const char *path, int count, char **numbers) {
    const int32_t h = OpenOrExit(path, KF_MODE_UPDATE);
    for (int i = 0; i < count; ++i) {
        const int32_t n = std::atoi(numbers[i]);
        CallLogRecord r = RecordNumber(n);
        const CallLogRecord wanted = r;
        int32_t status = ReadCall(KF_GET_EQUAL, h, r, &wanted);
        while (status == KF_OK && r.Duration != n && KeyOne(r) == KeyOne(wanted))
            status = ReadCall(KF_GET_NEXT, h, r);
        if (status != KF_OK || r.Duration != n ||
            UntilNotBusy([&] { return kf_Delete(&h); }) != KF_OK) {
            std::printf("failed delete %d status %d\n", n, status);
            return 1;
        }
        std::printf("deleted %d\n", n);
    }
    return 0;
}

bool WaitForFile(const std::string &path) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(300);
    while (!Exists(path.c_str())) {
        if (std::chrono::steady_clock::now() > deadline) {
            std::printf("failed waiting for %s\n", path.c_str());
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

bool Touch(const std::string &path) {
    FILE *f = std::fopen(path.c_str(), "w");
    return f != nullptr && std::fclose(f) == 0;
}

// Prints each record up to the end; false on a failed read.
bool ScanToEnd(int32_t h, CallLogRecord &r) {
    int32_t status = KF_OK;
    while ((status = ReadCall(KF_GET_NEXT, h, r)) == KF_OK)
        std::printf("record %d\n", r.Duration);
    std::printf("end\n");
    std::fflush(stdout);
    return status == KF_END;
}

// A report's scan that holds what its get-next read ahead while the test changes the file.
int HoldScan(const char *path, const std::string &dir) {
    const int32_t h = OpenOrExit(path, KF_MODE_READ);
    CallLogRecord r;
    if (ReadCall(KF_GET_FIRST, h, r) != KF_OK)
        return 1;
    std::printf("record %d\n", r.Duration);
    if (ReadCall(KF_GET_NEXT, h, r) != KF_OK)
        return 1;
    std::printf("record %d\n", r.Duration);
    std::fflush(stdout);
    const bool ok = Touch(dir + "/held") && WaitForFile(dir + "/go") && ScanToEnd(h, r) &&
                    Touch(dir + "/ended") && WaitForFile(dir + "/again") && ScanToEnd(h, r);
    return ok ? 0 : 1;
}

int Dump(const char *path) {
    const int32_t h = OpenOrExit(path, KF_MODE_READ);
    CallLogRecord r;
    int32_t status = ReadCall(KF_GET_FIRST, h, r);
    for (; status == KF_OK; status = ReadCall(KF_GET_NEXT, h, r))
        std::printf("record %d %d\n", r.Duration, r.Day);
    return status == KF_END ? 0 : 1;
}

} // namespace

int main(int argc, char **argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    const char *path = argc > 2 ? argv[2] : "";
    int rc = 2;
    if (mode == "create")
        rc = CreateCallLog(path);
    else if ((mode == "insert" || mode == "insert-late") && argc == 5)
        rc = InsertRange(path, std::atoi(argv[3]), std::atoi(argv[4]), mode == "insert-late");
    else if (mode == "delete")
        rc = DeleteNumbers(path, argc - 3, argv + 3);
    else if (mode == "hold-scan" && argc == 4)
        rc = HoldScan(path, argv[3]);
    else if (mode == "insert-until-killed" && argc == 4)
        rc = InsertUntilKilled(path, argv[3]);
    else if (mode == "purge" && argc == 5)
        rc = Purge(path, static_cast<uint32_t>(std::atol(argv[3])), argv[4]);
    else if (mode == "scan" && argc == 6)
        rc = Scan(path, static_cast<uint32_t>(std::atol(argv[3])),
                  static_cast<uint32_t>(std::atol(argv[4])), argv[5]);
    else if (mode == "dump")
        rc = Dump(path);
    else
        std::fprintf(stderr, "usage: see the top of kf_worker.cpp\n");
    kf_CloseAll();
    return rc;
}
