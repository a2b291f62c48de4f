// Times the reports over large call logs under Wine, unattended (the engine writes PDF): the
// inbound call log over 100,000 records and the call statistics over 1,000,000, each beside a
// bare KEYFILE scan of the same records in the same order. Prints the figures; not a test.
//   tally_bench FOLDER [N]   (N: a N-th of the records, for a machine where the full run is long)
// The logs are made once under FOLDER in one SQLite transaction (setting up, not measured) and
// kept for the next run.
#include "call_log.h"
#include "demo_calls.h"
#include "key_definition.h"
#include "keyfile.h"
#include "pantry.h"
#include "report_bindings_win.h"
#include "report_flow.h"

#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

const char kLastDate[] = "12-31-2025";

class FixedRange : public ReportPrompts {
  public:
    explicit FixedRange(const ReportRange &range) : range_(range) {}
    void Message(const std::string &text, const std::string &caption, MessageIcon) override {
        std::fprintf(stderr, "tally_bench: %s: %s\n", caption.c_str(), text.c_str());
    }
    int32_t AskRange(const std::string &, ReportRange &range) override {
        range = range_;
        return 1;
    }

  private:
    ReportRange range_;
};

double Seconds(const std::function<void()> &work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

DemoCallPlan Plan(int32_t calls) {
    DemoCallPlan plan;
    plan.calls = calls;
    plan.weeks = calls >= 500000 ? 52 : 8;
    plan.lastDay = DateToDays(kLastDate);
    plan.seed = 11;
    return plan;
}

int32_t CountOf(const std::string &path) {
    const int32_t mode = KF_MODE_READ;
    int32_t handle = kf_Open(path.c_str(), &mode);
    if (handle < 1)
        return -1;
    const int32_t count = kf_Count(&handle);
    kf_Close(&handle);
    return count;
}

// The records go in as KEYFILE would store them, but in one transaction: a million single
// inserts with a full sync each would take hours.
bool MakeLog(const std::string &dir, int32_t calls) {
    const std::string path = dir + "DATA\\QuorlLog.OV5";
    if (CountOf(path) == calls)
        return true;
    std::printf("making %s with %d calls\n", path.c_str(), static_cast<int>(calls));
    std::fflush(stdout);
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "DATA").c_str(), nullptr);
    DeleteFileA(path.c_str());
    FileDefinition definition;
    const std::vector<uint8_t> bytes = CallLogDefinition();
    if (!CreateCallLog(dir) ||
        !ParseDefinition(std::string(bytes.begin(), bytes.end()), definition))
        return false;
    sqlite3 *db = nullptr;
    sqlite3_stmt *insert = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK ||
        sqlite3_exec(db, "PRAGMA synchronous=OFF; BEGIN", nullptr, nullptr, nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db, "INSERT INTO kf_record(data, k1, k2, k3) VALUES(?1, ?2, ?3, ?4)", -1,
                           &insert, nullptr) != SQLITE_OK)
        return false;
    for (const CallLogRecord &rec : MakeDemoCalls(Plan(calls))) {
        const uint8_t *data = reinterpret_cast<const uint8_t *>(&rec);
        sqlite3_bind_blob(insert, 1, data, sizeof rec, SQLITE_TRANSIENT);
        for (int k = 0; k < 3; ++k) {
            const std::string value = IndexValueOfRecord(definition.keys[k], data);
            sqlite3_bind_blob(insert, k + 2, value.data(), static_cast<int>(value.size()),
                              SQLITE_TRANSIENT);
        }
        if (sqlite3_step(insert) != SQLITE_DONE)
            return false;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    const bool committed = sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(db);
    return committed && CountOf(path) == calls;
}

ReportRange WholeLog(int32_t calls) {
    const DemoCallPlan plan = Plan(calls);
    ReportRange range;
    range.dayMask = 0xFE;
    range.startDate = plan.lastDay - plan.weeks * 7 + 1;
    range.endDate = plan.lastDay;
    range.startTime = 0;
    range.endTime = 86399;
    return range;
}

// The report's own reading without the report: the same key, the same reads, the same end.
int64_t BareScan(const std::string &path, const ReportRange &range) {
    KeyfileCallLog log;
    const int32_t handle = log.Open(path);
    log.Count(handle);
    uint8_t key[8];
    const uint32_t parts[2] = {static_cast<uint32_t>(range.startTime),
                               static_cast<uint32_t>(range.startDate)};
    std::memcpy(key, parts, sizeof key);
    CallLogRecord rec;
    int64_t read = 0;
    for (int32_t status = log.ReadFirst(handle, key, rec); status == 0;
         status = log.ReadNext(handle, rec)) {
        if (rec.Day > range.endDate || (rec.Day == range.endDate && rec.Seconds > range.endTime))
            break;
        ++read;
    }
    log.Close(handle);
    return read;
}

void Compare(const char *name, Report report, const std::string &dir, int32_t calls,
             double target) {
    if (!MakeLog(dir, calls)) {
        std::printf("%s: could not make the call log\n", name);
        return;
    }
    const ReportRange range = WholeLog(calls);
    SetEnvironmentVariableA("PRNVIEW32_PDF", (dir + "report.pdf").c_str());
    ReportJob job;
    job.report = report;
    job.dataPath = dir + "DATA\\";
    job.storeName = "Bench";
    job.clock = [] { return ReportClock{"12-31-2025", "23:59:59"}; };
    double bare = 1e30, full = 1e30;
    int64_t read = 0;
    // Alternating rounds, so a change in the machine's load falls on both alike; the best of each.
    for (int round = 0; round < 3; ++round) {
        bare =
            std::min(bare, Seconds([&] { read = BareScan(job.dataPath + "QuorlLog.OV5", range); }));
        full = std::min(full, Seconds([&] {
                            PrnviewEngine engine;
                            KeyfileCallLog log;
                            FixedRange prompts(range);
                            RunReport(job, engine, log, prompts);
                        }));
    }
    std::printf("%-22s %9d records (%lld read): report %7.2f s, bare scan %7.2f s, ratio %.2f "
                "(target at most %.1f)\n",
                name, static_cast<int>(calls), static_cast<long long>(read), full, bare,
                full / bare, target);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: tally_bench FOLDER [N]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\')
        folder += '\\';
    const int32_t divisor = argc > 2 ? std::max(1, std::atoi(argv[2])) : 1;
    CreateDirectoryA(folder.c_str(), nullptr);
    Compare("inbound call log", Report::Inbound, folder + "inbound\\", 100000 / divisor, 3.0);
    Compare("call statistics", Report::Statistics, folder + "stats\\", 1000000 / divisor, 1.5);
    return 0;
}
