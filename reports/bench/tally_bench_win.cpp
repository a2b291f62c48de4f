// Times the reports over large call logs under Wine, unattended (the engine writes PDF): the
// inbound call log over 100,000 records and the call statistics over 1,000,000, each beside a
// bare KEYFILE scan of the same records in the same order and SQLite reading them with one
// statement; then the longest insert of a server-like inserter alone and beside the statistics.
// Prints the figures as a table; not a test.
//   tally_bench FOLDER [N] [--against OLD_EXE [D]] [--large] [--inserts ROUNDS]
// N: a N-th of the records, for a machine where the full run is long. --against runs the same
// figures with another build of this program (the code before a change) in the same rounds, at a
// D-th of those records and scaled up. --large adds the inbound call log over 500,000 records.
// --inserts runs only the inserter's figure, ROUNDS times, alone first every other round.
// Every figure is taken in a process of its own, so its peak working set is its own:
//   tally_bench --one FIGURE DIR COUNT RESULT_FILE
// The logs are made once under FOLDER in one SQLite transaction (setting up, not measured) and
// kept for the next run.
#include "call_log.h"
#include "demo_calls.h"
#include "key_definition.h"
#include "keyfile.h"
#include "pantry.h"
#include "report_bindings_win.h"
#include "report_flow.h"

#include <psapi.h>
#include <sqlite3.h>
#include <windows.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const char kLastDate[] = "12-31-2025";
const int kRounds = 3;

// ---- one figure, in a process of its own ----

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

// Where the engine's time goes, by the kind of call.
enum EngineCall { CALL_TEXT, CALL_FONT, CALL_LINE, CALL_PAGE, CALL_PROGRESS, CALL_END, CALL_KINDS };

// The engine as the report drives it, counting the text it is given (what the document must
// hold whatever its layout, so the rest of its memory can be told per row) and, when asked,
// timing each kind of call.
class MeasuringEngine : public ReportEngine {
  public:
    MeasuringEngine(ReportEngine &inner, bool timed) : inner_(inner), timed_(timed) {}
    int32_t pvStartDoc(int32_t owner, const std::string &title, const std::string &output,
                       int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) override {
        return Timed(CALL_PAGE,
                     [&] { return inner_.pvStartDoc(owner, title, output, a, b, c, d, e); });
    }
    int32_t pvNewPage(int32_t doc, int32_t a, int32_t b, int32_t c) override {
        return Timed(CALL_PAGE, [&] { return inner_.pvNewPage(doc, a, b, c); });
    }
    int32_t pvEndDoc(int32_t doc, int32_t mode) override {
        return Timed(CALL_END, [&] { return inner_.pvEndDoc(doc, mode); });
    }
    int32_t pvSetProgress(int32_t doc, int32_t percent) override {
        return Timed(CALL_PROGRESS, [&] { return inner_.pvSetProgress(doc, percent); });
    }
    int32_t pvCheckAbort(int32_t doc) override {
        return Timed(CALL_PROGRESS, [&] { return inner_.pvCheckAbort(doc); });
    }
    int32_t pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                   const std::string &face) override {
        return Timed(CALL_FONT, [&] { return inner_.pvFont(doc, style, points, colour, face); });
    }
    int32_t pvText(int32_t doc, float x, float y, int32_t align, const std::string &text) override {
        textBytes += text.size();
        return Timed(CALL_TEXT, [&] { return inner_.pvText(doc, x, y, align, text); });
    }
    int32_t pvSpecialText(int32_t doc, float x, float y, int32_t align,
                          const std::string &text) override {
        textBytes += text.size();
        return Timed(CALL_TEXT, [&] { return inner_.pvSpecialText(doc, x, y, align, text); });
    }
    int32_t pvLine(int32_t doc, float x1, float y1, float x2, float y2, float width,
                   int32_t colour) override {
        return Timed(CALL_LINE, [&] { return inner_.pvLine(doc, x1, y1, x2, y2, width, colour); });
    }
    int32_t pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width, int32_t colour,
                   int32_t fill) override {
        return Timed(CALL_LINE,
                     [&] { return inner_.pvRect(doc, x1, y1, x2, y2, width, colour, fill); });
    }

    int64_t textBytes = 0;
    double seconds[CALL_KINDS] = {};

  private:
    // A template, not a std::function: the call's captures would not fit one's own room, and a
    // heap allocation per engine call would be counted as the report's.
    template <class Call> int32_t Timed(EngineCall kind, const Call &call) {
        if (!timed_)
            return call();
        const auto start = std::chrono::steady_clock::now();
        const int32_t result = call();
        seconds[kind] +=
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        return result;
    }

    ReportEngine &inner_;
    bool timed_;
};

// An engine that keeps nothing: what the report's own logic costs.
class NullEngine : public ReportEngine {
  public:
    int32_t pvStartDoc(int32_t, const std::string &, const std::string &, int32_t, int32_t, int32_t,
                       int32_t, int32_t) override {
        return 1;
    }
    int32_t pvNewPage(int32_t, int32_t, int32_t, int32_t) override { return 0; }
    int32_t pvEndDoc(int32_t, int32_t) override { return 1; }
    int32_t pvSetProgress(int32_t, int32_t) override { return 0; }
    int32_t pvCheckAbort(int32_t) override { return 0; }
    int32_t pvFont(int32_t, int32_t, int32_t, int32_t, const std::string &) override { return 0; }
    int32_t pvText(int32_t, float, float, int32_t, const std::string &) override { return 0; }
    int32_t pvSpecialText(int32_t, float, float, int32_t, const std::string &) override {
        return 0;
    }
    int32_t pvLine(int32_t, float, float, float, float, float, int32_t) override { return 0; }
    int32_t pvRect(int32_t, float, float, float, float, float, int32_t, int32_t) override {
        return 0;
    }
};

// The log in memory, so composition is timed without the reads.
class MemoryCallLog : public CallLogSource {
  public:
    explicit MemoryCallLog(std::vector<CallLogRecord> records) : records_(std::move(records)) {}
    bool Exists(const std::string &) override { return true; }
    int32_t Open(const std::string &) override { return 1; }
    int32_t Count(int32_t) override { return static_cast<int32_t>(records_.size()); }
    int32_t ReadFirst(int32_t, const uint8_t (&key)[8], CallLogRecord &rec) override {
        uint32_t parts[2];
        std::memcpy(parts, key, sizeof parts);
        next_ = 0;
        while (next_ < records_.size() &&
               (records_[next_].Day < static_cast<int32_t>(parts[1]) ||
                (records_[next_].Day == static_cast<int32_t>(parts[1]) &&
                 records_[next_].Seconds < static_cast<int32_t>(parts[0]))))
            ++next_;
        return ReadNext(1, rec);
    }
    int32_t ReadNext(int32_t, CallLogRecord &rec) override {
        if (next_ >= records_.size())
            return KF_END;
        rec = records_[next_++];
        return 0;
    }
    void Close(int32_t) override {}

  private:
    std::vector<CallLogRecord> records_;
    size_t next_ = 0;
};

DemoCallPlan Plan(int32_t calls) {
    DemoCallPlan plan;
    plan.calls = calls;
    plan.weeks = calls >= 500000 ? 52 : 8;
    plan.lastDay = DateToDays(kLastDate);
    plan.seed = 11;
    return plan;
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

// A day after the log's last: the report's whole work but its rows.
ReportRange EmptyRange(int32_t calls) {
    ReportRange range = WholeLog(calls);
    range.startDate = range.endDate = range.endDate + 1;
    return range;
}

bool AfterRange(const CallLogRecord &rec, const ReportRange &range) {
    return rec.Day > range.endDate || (rec.Day == range.endDate && rec.Seconds > range.endTime);
}

void StartKey(const ReportRange &range, uint8_t (&key)[8]) {
    const uint32_t parts[2] = {static_cast<uint32_t>(range.startTime),
                               static_cast<uint32_t>(range.startDate)};
    std::memcpy(key, parts, sizeof key);
}

// The report's own reading without the report: the same key, the same reads, the same end.
int64_t BareScan(const std::string &path, const ReportRange &range) {
    KeyfileCallLog log;
    const int32_t handle = log.Open(path);
    log.Count(handle);
    uint8_t key[8];
    StartKey(range, key);
    CallLogRecord rec;
    int64_t read = 0;
    for (int32_t status = log.ReadFirst(handle, key, rec); status == 0;
         status = log.ReadNext(handle, rec)) {
        if (AfterRange(rec, range))
            break;
        ++read;
    }
    log.Close(handle);
    return read;
}

// The same rows as SQLite gives them to one statement over the record manager's file: the floor
// any reader of that file stands on.
int64_t SqliteScan(const std::string &path, const ReportRange &range) {
    sqlite3 *db = nullptr;
    sqlite3_stmt *select = nullptr;
    int64_t read = 0;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK &&
        sqlite3_prepare_v2(db, "SELECT data FROM kf_record WHERE k1 >= ?1 ORDER BY k1, id", -1,
                           &select, nullptr) == SQLITE_OK) {
        const uint64_t start =
            (static_cast<uint64_t>(range.startDate) << 32) | static_cast<uint32_t>(range.startTime);
        uint8_t key[8];
        for (int i = 0; i < 8; ++i)
            key[i] = static_cast<uint8_t>(start >> (56 - 8 * i));
        sqlite3_bind_blob(select, 1, key, sizeof key, SQLITE_STATIC);
        CallLogRecord rec;
        while (sqlite3_step(select) == SQLITE_ROW) {
            std::memcpy(&rec, sqlite3_column_blob(select, 0),
                        std::min<size_t>(sizeof rec, sqlite3_column_bytes(select, 0)));
            if (AfterRange(rec, range))
                break;
            ++read;
        }
    }
    sqlite3_finalize(select);
    sqlite3_close(db);
    return read;
}

size_t PeakWorkingSet() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
               ? counters.PeakWorkingSetSize
               : 0;
}

struct FigureResult {
    double seconds = 0;
    double sqliteSeconds = 0;
    int64_t records = 0;
    int64_t textBytes = 0;
};

// The log as the report reads it, counting the inbound records read: the inbound report's rows.
class CountingLog : public KeyfileCallLog {
  public:
    int32_t ReadFirst(int32_t handle, const uint8_t (&key)[8], CallLogRecord &rec) override {
        return Counted(KeyfileCallLog::ReadFirst(handle, key, rec), rec);
    }
    int32_t ReadNext(int32_t handle, CallLogRecord &rec) override {
        return Counted(KeyfileCallLog::ReadNext(handle, rec), rec);
    }
    int64_t inbound = 0;

  private:
    int32_t Counted(int32_t status, const CallLogRecord &rec) {
        inbound += status == 0 && rec.Direction == 'I';
        return status;
    }
};

FigureResult RunReportFigure(Report report, const std::string &dir, const ReportRange &range) {
    SetEnvironmentVariableA("PRNVIEW32_PDF", (dir + "report.pdf").c_str());
    ReportJob job;
    job.report = report;
    job.dataPath = dir + "DATA\\";
    job.storeName = "Bench";
    job.clock = [] { return ReportClock{"12-31-2025", "23:59:59"}; };
    FigureResult result;
    PrnviewEngine real;
    MeasuringEngine engine(real, false);
    CountingLog log;
    result.seconds = Seconds([&] {
        FixedRange prompts(range);
        RunReport(job, engine, log, prompts);
    });
    result.records = log.inbound;
    result.textBytes = engine.textBytes;
    return result;
}

FigureResult RunFigure(const std::string &figure, const std::string &dir, int32_t calls) {
    const std::string path = dir + "DATA\\QuorlLog.OV5";
    FigureResult result;
    if (figure == "scan") {
        result.seconds = Seconds([&] { result.records = BareScan(path, WholeLog(calls)); });
        result.sqliteSeconds = Seconds([&] { SqliteScan(path, WholeLog(calls)); });
    } else if (figure == "inbound") {
        result = RunReportFigure(Report::Inbound, dir, WholeLog(calls));
    } else if (figure == "inbound0") {
        result = RunReportFigure(Report::Inbound, dir, EmptyRange(calls));
    } else if (figure == "stats") {
        result = RunReportFigure(Report::Statistics, dir, WholeLog(calls));
    }
    return result;
}

// The inbound call log composed from records in memory, first with an engine that keeps nothing
// (the report's own logic), then with the real one, each kind of engine call timed.
std::string ComposeSections(const std::string &dir, int32_t calls) {
    const std::vector<CallLogRecord> records = MakeDemoCalls(Plan(calls));
    ReportJob job;
    job.report = Report::Inbound;
    job.dataPath = dir + "DATA\\";
    job.storeName = "Bench";
    job.clock = [] { return ReportClock{"12-31-2025", "23:59:59"}; };
    FixedRange prompts(WholeLog(calls));
    NullEngine none;
    MeasuringEngine logicOnly(none, false);
    MemoryCallLog memory(records);
    const double logic = Seconds([&] { RunReport(job, logicOnly, memory, prompts); });
    SetEnvironmentVariableA("PRNVIEW32_PDF", (dir + "sections.pdf").c_str());
    PrnviewEngine real;
    MeasuringEngine timed(real, true);
    MemoryCallLog again(records);
    const double whole = Seconds([&] { RunReport(job, timed, again, prompts); });
    int64_t rows = 0;
    for (const CallLogRecord &rec : records)
        rows += rec.Direction == 'I';
    const double perRow = 1e6 / static_cast<double>(std::max<int64_t>(rows, 1));
    char text[400];
    std::snprintf(text, sizeof text,
                  "inbound call log from memory, %lld rows: %.1f us a row in all; report logic "
                  "%.1f, pvText %.1f, pvFont %.1f, pvLine %.1f, pages %.1f, progress %.1f, "
                  "pvEndDoc %.1f (us a row)",
                  static_cast<long long>(rows), whole * perRow, logic * perRow,
                  timed.seconds[CALL_TEXT] * perRow, timed.seconds[CALL_FONT] * perRow,
                  timed.seconds[CALL_LINE] * perRow, timed.seconds[CALL_PAGE] * perRow,
                  timed.seconds[CALL_PROGRESS] * perRow, timed.seconds[CALL_END] * perRow);
    return text;
}

// A folder goes to a child without its last backslash: before the closing quote it would escape
// the quote.
std::string QuotedFolder(const std::string &dir) {
    return "\"" + dir.substr(0, dir.size() - 1) + "\"";
}

int RunOne(char **argv) {
    const std::string dir = std::string(argv[3]) + "\\";
    if (std::strcmp(argv[2], "sections") == 0) {
        std::ofstream out(argv[5]);
        out << ComposeSections(dir, std::atoi(argv[4])) << "\n";
        return out.good() ? 0 : 1;
    }
    const FigureResult r = RunFigure(argv[2], dir, std::atoi(argv[4]));
    FILE *out = std::fopen(argv[5], "w");
    if (!out)
        return 1;
    std::fprintf(out, "%.6f %.6f %lld %lld %llu\n", r.seconds, r.sqliteSeconds,
                 static_cast<long long>(r.records), static_cast<long long>(r.textBytes),
                 static_cast<unsigned long long>(PeakWorkingSet()));
    return std::fclose(out) == 0 ? 0 : 1;
}

// ---- the server-like inserter ----

CallLogRecord InsertedRecord(int32_t n, int32_t day) {
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Day = day;
    rec.Seconds = (n * 37) % 86400;
    std::memset(rec.Number, ' ', sizeof rec.Number);
    std::snprintf(rec.Number, sizeof rec.Number, "555%07d", static_cast<int>(n));
    rec.Number[10] = ' ';
    std::snprintf(rec.Name, sizeof rec.Name, "inserted %d", static_cast<int>(n));
    rec.Direction = 'I';
    rec.Duration = n;
    rec.Line = 1;
    return rec;
}

// One synced insert at a time on an update handle, as the server logs calls, until STOP exists;
// writes the count and the longest insert in milliseconds.
int RunInserter(char **argv) {
    const std::string path = argv[2], stop = argv[3];
    const int32_t mode = KF_MODE_UPDATE, op = KF_INSERT, length = sizeof(CallLogRecord), none = 0;
    int32_t handle = kf_Open(path.c_str(), &mode);
    if (handle < 1)
        return 1;
    int32_t inserted = 0, failed = 0;
    double longest = 0;
    const int32_t day = DateToDays(kLastDate);
    while (GetFileAttributesA(stop.c_str()) == INVALID_FILE_ATTRIBUTES) {
        CallLogRecord rec = InsertedRecord(inserted, day);
        int32_t status = 0;
        longest = std::max(longest, Seconds([&] {
                                        status =
                                            kf(&op, &handle, &rec, &length, nullptr, &none, &none);
                                    }) * 1000);
        status == KF_OK ? ++inserted : ++failed;
        Sleep(20);
    }
    kf_Close(&handle);
    FILE *out = std::fopen(argv[4], "w");
    if (!out)
        return 1;
    std::fprintf(out, "%d %d %.1f\n", static_cast<int>(inserted), static_cast<int>(failed),
                 longest);
    return std::fclose(out) == 0 ? 0 : 1;
}

// ---- the parent: logs, processes, rounds, the table ----

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

std::string ThisProgram() {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, sizeof path);
    return path;
}

HANDLE Start(const std::string &exe, const std::string &args) {
    std::string line = "\"" + exe + "\" " + args;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(exe.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return nullptr;
    CloseHandle(process.hThread);
    return process.hProcess;
}

bool Finish(HANDLE process) {
    if (!process)
        return false;
    WaitForSingleObject(process, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code == 0;
}

struct Measured {
    FigureResult best;
    size_t peak = 0;
    bool ok = false;
};

// Runs one figure in a child process; keeps the fastest of the rounds and the highest peak.
void Measure(const std::string &exe, const std::string &figure, const std::string &dir,
             int32_t calls, Measured &into) {
    const std::string result = dir + figure + ".result";
    DeleteFileA(result.c_str());
    const bool ran = Finish(Start(exe, "--one " + figure + " " + QuotedFolder(dir) + " " +
                                           std::to_string(calls) + " \"" + result + "\""));
    std::ifstream in(result);
    FigureResult r;
    unsigned long long peak = 0;
    long long records = 0, textBytes = 0;
    if (!ran || !(in >> r.seconds >> r.sqliteSeconds >> records >> textBytes >> peak)) {
        std::printf("%s over %d records failed (%s)\n", figure.c_str(), static_cast<int>(calls),
                    exe.c_str());
        return;
    }
    r.records = records;
    r.textBytes = textBytes;
    if (!into.ok || r.seconds < into.best.seconds)
        into.best.seconds = r.seconds;
    if (!into.ok || (r.sqliteSeconds > 0 && r.sqliteSeconds < into.best.sqliteSeconds))
        into.best.sqliteSeconds = r.sqliteSeconds;
    into.best.records = std::max(into.best.records, r.records);
    into.best.textBytes = r.textBytes;
    into.peak = std::max<size_t>(into.peak, peak);
    into.ok = true;
}

void MeasureSections(const std::string &name, const std::string &exe, const std::string &dir,
                     int32_t calls) {
    const std::string result = dir + "sections.result";
    DeleteFileA(result.c_str());
    const bool ran = Finish(Start(exe, "--one sections " + QuotedFolder(dir) + " " +
                                           std::to_string(calls) + " \"" + result + "\""));
    std::ifstream in(result);
    std::string line;
    if (ran && std::getline(in, line))
        std::printf("%s: %s\n", name.c_str(), line.c_str());
    else
        std::printf("%s: the timed sections failed\n", name.c_str());
    std::fflush(stdout);
}

struct Build {
    std::string name;
    std::string exe;
    int32_t divisor = 1; // its figures are taken at a divisor-th of the records and scaled
};

struct BenchReport {
    const char *figure;
    const char *title;
    const char *folder;
    int32_t calls;
};

std::string Megabytes(size_t bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.0f MB", bytes / 1048576.0);
    return text;
}

void PrintRow(const char *title, const Build &build, int32_t calls, double seconds,
              const Measured &scan, const Measured &figure) {
    const double scale = build.divisor;
    const double bare = scan.best.seconds * scale, sqlite = scan.best.sqliteSeconds * scale;
    const double s = seconds * scale;
    std::printf("| %s | %s | %d%s | %.2f s | %.1f | %.2f | %.1f | %s |\n", title,
                build.name.c_str(), static_cast<int>(calls), build.divisor > 1 ? " (scaled)" : "",
                s, s * 1e6 / calls, s / bare, s / sqlite, Megabytes(figure.peak).c_str());
}

// The document's memory per row beyond the row's text: the report's peak less that of the same
// report with no rows, less the text it was given.
void PrintMemoryPerRow(const Build &build, const Measured &rows, const Measured &none) {
    if (!rows.ok || !none.ok || rows.best.records == 0)
        return;
    const double beyond = static_cast<double>(rows.peak) - static_cast<double>(none.peak) -
                          static_cast<double>(rows.best.textBytes);
    std::printf("%s: inbound call log, peak working set %s with rows, %s without, text %s: %.0f "
                "bytes per row beyond its text\n",
                build.name.c_str(), Megabytes(rows.peak).c_str(), Megabytes(none.peak).c_str(),
                Megabytes(rows.best.textBytes).c_str(), beyond / rows.best.records);
}

void CompareReports(const std::vector<Build> &builds, const std::string &folder, int32_t divisor) {
    const BenchReport reports[] = {
        {"inbound", "inbound call log", "inbound\\", 100000 / divisor},
        {"stats", "call statistics", "stats\\", 1000000 / divisor},
    };
    std::printf("| figure | code | records | seconds | µs per record | × bare scan | × SQLite "
                "| peak working set |\n|---|---|---|---|---|---|---|---|\n");
    std::fflush(stdout);
    for (const BenchReport &report : reports) {
        std::map<std::string, Measured> scans, figures, empties;
        for (int round = 0; round < kRounds; ++round)
            for (const Build &build : builds) {
                const int32_t calls = report.calls / build.divisor;
                const std::string dir = folder + report.folder + std::to_string(calls) + "\\";
                if (!MakeLog(dir, calls))
                    return;
                Measure(build.exe, "scan", dir, calls, scans[build.name]);
                Measure(build.exe, report.figure, dir, calls, figures[build.name]);
                if (round == 0 && std::strcmp(report.figure, "inbound") == 0)
                    Measure(build.exe, "inbound0", dir, calls, empties[build.name]);
            }
        for (const Build &build : builds) {
            const Measured &scan = scans[build.name], &figure = figures[build.name];
            if (!scan.ok || !figure.ok)
                continue;
            PrintRow("bare KEYFILE scan", build, report.calls, scan.best.seconds, scan, scan);
            PrintRow("SQLite, one statement", build, report.calls, scan.best.sqliteSeconds, scan,
                     scan);
            PrintRow(report.title, build, report.calls, figure.best.seconds, scan, figure);
        }
        for (const Build &build : builds)
            if (empties.count(build.name))
                PrintMemoryPerRow(build, figures[build.name], empties[build.name]);
        std::fflush(stdout);
    }
}

struct InsertRun {
    int32_t inserted = 0, failed = 0;
    double longestMs = 0;
    bool ok = false;
};

InsertRun StopInserter(HANDLE inserter, const std::string &stop, const std::string &result) {
    HANDLE file = CreateFileA(stop.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    CloseHandle(file);
    InsertRun run;
    run.ok = Finish(inserter);
    std::ifstream in(result);
    run.ok = run.ok && static_cast<bool>(in >> run.inserted >> run.failed >> run.longestMs);
    DeleteFileA(stop.c_str());
    return run;
}

// The copy's bytes on the disk before any insert is timed: the system writing back a fresh copy
// of a large log would otherwise slow every synced insert of the run that comes first.
bool Flushed(const std::string &path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    const bool flushed = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return flushed;
}

// The longest of the server's inserts beside the statistics and alone for as long as they take,
// on a copy of the statistics' log, in the given order; every insert must be there afterwards.
void CompareInserts(const std::string &folder, int32_t divisor, bool aloneFirst) {
    const int32_t calls = 1000000 / divisor;
    const std::string source = folder + "stats\\" + std::to_string(calls) + "\\";
    const std::string dir = folder + "inserts\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    CreateDirectoryA((dir + "DATA").c_str(), nullptr);
    const std::string log = dir + "DATA\\QuorlLog.OV5";
    if (!MakeLog(source, calls) ||
        !CopyFileA((source + "DATA\\QuorlLog.OV5").c_str(), log.c_str(), FALSE) || !Flushed(log)) {
        std::printf("inserts: could not copy the log\n");
        return;
    }
    const std::string stop = dir + "stop", result = dir + "inserts.result";
    const std::string args = "--insert \"" + log + "\" \"" + stop + "\" \"" + result + "\"";
    DeleteFileA(stop.c_str());
    InsertRun alone, beside;
    // Alone, the inserter runs as long as the statistics took in the last run beside them.
    static double reportSeconds = 0;
    const auto runAlone = [&] {
        HANDLE inserter = Start(ThisProgram(), args);
        Sleep(static_cast<DWORD>((reportSeconds > 0 ? reportSeconds : 5) * 1000));
        alone = StopInserter(inserter, stop, result);
    };
    if (aloneFirst)
        runAlone();
    {
        HANDLE inserter = Start(ThisProgram(), args);
        reportSeconds = Seconds([&] {
            Measured stats;
            Measure(ThisProgram(), "stats", dir, calls, stats);
        });
        beside = StopInserter(inserter, stop, result);
    }
    if (!aloneFirst)
        runAlone();
    const int32_t count = CountOf(log);
    const bool allThere = count == calls + alone.inserted + beside.inserted;
    std::printf("inserts (one synced insert at a time, 20 ms apart; %s first): alone %d, longest "
                "%.1f ms; beside the call statistics over %d records (%.1f s) %d, longest %.1f "
                "ms; %d failed; every insert in the log afterwards: %s\n",
                aloneFirst ? "alone" : "beside", static_cast<int>(alone.inserted), alone.longestMs,
                static_cast<int>(calls), reportSeconds, static_cast<int>(beside.inserted),
                beside.longestMs, static_cast<int>(alone.failed + beside.failed),
                allThere ? "yes" : "NO");
    DeleteFileA(log.c_str());
}

void LargeInbound(const std::string &folder) {
    const int32_t calls = 500000;
    const std::string dir = folder + "inbound\\" + std::to_string(calls) + "\\";
    Measured figure;
    if (MakeLog(dir, calls))
        Measure(ThisProgram(), "inbound", dir, calls, figure);
    if (figure.ok)
        std::printf("inbound call log over %d records: %.1f s, peak working set %s\n",
                    static_cast<int>(calls), figure.best.seconds, Megabytes(figure.peak).c_str());
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 6 && std::strcmp(argv[1], "--one") == 0)
        return RunOne(argv);
    if (argc == 5 && std::strcmp(argv[1], "--insert") == 0)
        return RunInserter(argv);
    // A child whose arguments did not arrive whole must not become a parent starting children.
    if (argc < 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: tally_bench FOLDER [N] [--against OLD_EXE [D]] [--large] "
                             "[--inserts ROUNDS]\n");
        return 2;
    }
    std::string folder = argv[1];
    if (folder.back() != '\\')
        folder += '\\';
    int32_t divisor = 1;
    bool large = false;
    int insertRounds = 0;
    std::vector<Build> builds{{"new", ThisProgram(), 1}};
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--large") == 0) {
            large = true;
        } else if (std::strcmp(argv[i], "--inserts") == 0 && i + 1 < argc) {
            insertRounds = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--against") == 0 && i + 1 < argc) {
            Build old{"old", argv[++i], 1};
            if (i + 1 < argc && std::isdigit(static_cast<unsigned char>(argv[i + 1][0])))
                old.divisor = std::max(1, std::atoi(argv[++i]));
            builds.push_back(old);
        } else {
            divisor = std::max(1, std::atoi(argv[i]));
        }
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "inbound").c_str(), nullptr);
    CreateDirectoryA((folder + "stats").c_str(), nullptr);
    if (insertRounds > 0) {
        for (int round = 0; round < insertRounds; ++round)
            CompareInserts(folder, divisor, round % 2 == 1);
        return 0;
    }
    CompareReports(builds, folder, divisor);
    for (const Build &build : builds)
        MeasureSections(build.name, build.exe, folder + "inbound\\", 100000 / divisor);
    CompareInserts(folder, divisor, false);
    if (large)
        LargeInbound(folder);
    return 0;
}
