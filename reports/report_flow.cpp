// The common report flow and the scan of the call log.
#include "report_flow.h"

#include "call_log_csv.h"
#include "call_stats.h"
#include "callback_list.h"
#include "log_rows.h"
#include "report_text.h"

#include <cstring>
#include <functional>

namespace {

const char kLogName[] = "QuorlLog.OV5";
const char kRangeTitle[] = "Select Range for Caller ID Report";
const size_t kTitleLimit = 40;

// Takes one record that passed the range; false skips it.
using RecordFilter = std::function<bool(const CallLogRecord &rec)>;
using RecordTaker = std::function<void(const CallLogRecord &rec, int32_t weekday)>;

struct ScanRequest {
    int32_t handle = 0;
    int32_t total = 0;
    ReportRange range;
    int32_t doc = 0;
};

// How a scan ended: at the range's end or the file's, stopped by the person, or cut off by a
// read that failed with `failedStatus`, which stops the document as well.
struct ScanEnd {
    bool stopped = false;
    int32_t failedStatus = 0;
};

// The engine's progress window, which belongs to the document being composed.
class EngineProgress : public ScanProgress {
  public:
    EngineProgress(ReportEngine &engine, int32_t doc) : engine_(engine), doc_(doc) {}
    void Show(int32_t percent) override { engine_.pvSetProgress(doc_, percent); }
    bool Stopped() override { return engine_.pvCheckAbort(doc_) != 0; }

  private:
    ReportEngine &engine_;
    int32_t doc_;
};

void KeyfileFailure(ReportPrompts &prompts, const std::string &text, int32_t status) {
    const int64_t magnitude = status < 0 ? -static_cast<int64_t>(status) : status;
    prompts.Message(text, "Keyfile Error " + std::to_string(magnitude), MessageIcon::Error);
}

void OpenFailure(ReportPrompts &prompts, int32_t result) {
    KeyfileFailure(prompts, "Error Opening Data File!", result);
}

bool AfterRange(const CallLogRecord &rec, const ReportRange &range) {
    return rec.Day > range.endDate || (rec.Day == range.endDate && rec.Seconds > range.endTime);
}

// Key 1 as the record holds it: the time of day, then the day number, both little-endian.
void StartKey(const ReportRange &range, uint8_t (&key)[8]) {
    const uint32_t parts[2] = {static_cast<uint32_t>(range.startTime),
                               static_cast<uint32_t>(range.startDate)};
    for (int part = 0; part < 2; ++part)
        for (int byte = 0; byte < 4; ++byte)
            key[part * 4 + byte] = static_cast<uint8_t>(parts[part] >> (8 * byte));
}

ScanEnd ScanLog(ScanProgress &progress, CallLogSource &log, const ScanRequest &scan,
                const RecordFilter &filter, const RecordTaker &take) {
    uint8_t key[8];
    StartKey(scan.range, key);
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    int64_t read = 0;
    int32_t lastPercent = 0;
    int32_t weekdayOf = -1, weekday = 0;
    int32_t status = log.ReadFirst(scan.handle, key, rec);
    for (; status == 0; status = log.ReadNext(scan.handle, rec)) {
        if (AfterRange(rec, scan.range))
            return {};
        ++read;
        const int32_t percent = static_cast<int32_t>(100 * read / scan.total);
        if (percent != lastPercent) {
            progress.Show(percent);
            lastPercent = percent;
        }
        if (progress.Stopped())
            return {true, 0};
        if (!filter(rec))
            continue;
        // Records come in day order, so the weekday is worked out once a day, not once a record.
        if (rec.Day != weekdayOf) {
            weekdayOf = rec.Day;
            weekday = WeekdayOf(rec.Day);
        }
        if (weekday < 1 || weekday > 7 || (scan.range.dayMask & (1 << weekday)) == 0)
            continue;
        take(rec, weekday);
    }
    if (CallLogSource::AtEnd(status))
        return {};
    return {true, status};
}

std::string DocumentTitle(const ReportJob &job, const std::string &date) {
    switch (job.report) {
    case Report::Inbound:
        return "Inbound Call Log Report - " + date;
    case Report::Outbound:
        return "Outbound Call Log Report - " + date;
    case Report::Statistics:
        return "Call Stats Report - " + date;
    case Report::Callback:
        return "Callback List - " + date;
    case Report::ByNumber:
        break;
    }
    return "Call Log Report on " + FmtPhone(TrimBlanks(job.wantedNumber)) + " - " + date;
}

std::string RangeTitle(const ReportJob &job) {
    if (job.report == Report::ByNumber)
        return "Select Range for Report on " + FmtPhone(TrimBlanks(job.wantedNumber));
    return kRangeTitle;
}

// A list report: rows printed as the scan goes, pages broken as they fill.
ScanEnd ScanList(const ReportJob &job, ReportEngine &engine, CallLogSource &log,
                 const ScanRequest &scan, const PageFrame &frame) {
    int32_t kind = KIND_INBOUND;
    RecordFilter filter = [](const CallLogRecord &rec) { return rec.Direction == 'I'; };
    void (*printRow)(ReportEngine &, int32_t, float, const CallLogRecord &) = PrintInRow;
    if (job.report == Report::Outbound) {
        kind = KIND_OUTBOUND;
        filter = [](const CallLogRecord &rec) { return rec.Direction == 'O'; };
        printRow = PrintOutRow;
    } else if (job.report == Report::ByNumber) {
        kind = KIND_BY_NUMBER;
        filter = [&job](const CallLogRecord &rec) { return NumberMatches(rec, job.wantedNumber); };
        printRow = PrintNumRow;
    }
    PrintRptHead(engine, scan.doc, kind, frame);
    int32_t row = 0;
    EngineProgress progress(engine, scan.doc);
    return ScanLog(progress, log, scan, filter, [&](const CallLogRecord &rec, int32_t) {
        row = NextRptLine(engine, scan.doc, row, kind, frame);
        printRow(engine, scan.doc, RowY(row), rec);
        ++row;
    });
}

const RecordFilter kEveryRecord = [](const CallLogRecord &) { return true; };

// A callback may come on any weekday: the tally sees every day and picks the short calls' days.
ScanEnd ScanCallbacks(const ReportJob &job, ReportEngine &engine, CallLogSource &log,
                      const ScanRequest &scan, const PageFrame &frame) {
    CallbackTally tally(job.shortSeconds, scan.range.dayMask);
    ScanRequest everyDay = scan;
    everyDay.range.dayMask = ~0;
    EngineProgress progress(engine, scan.doc);
    const ScanEnd end =
        ScanLog(progress, log, everyDay, kEveryRecord,
                [&tally](const CallLogRecord &rec, int32_t weekday) { tally.Add(rec, weekday); });
    log.Close(scan.handle);
    PrintCallbackList(engine, scan.doc, tally, frame);
    return end;
}

// Scans the log into the document and closes the log; the statistics page and the callback list
// are composed after.
ScanEnd ScanIntoDocument(const ReportJob &job, ReportEngine &engine, CallLogSource &log,
                         const ScanRequest &scan, const PageFrame &frame) {
    if (job.report == Report::Callback)
        return ScanCallbacks(job, engine, log, scan, frame);
    if (job.report != Report::Statistics) {
        const ScanEnd end = ScanList(job, engine, log, scan, frame);
        log.Close(scan.handle);
        return end;
    }
    CallStats stats;
    EngineProgress progress(engine, scan.doc);
    const ScanEnd end = ScanLog(progress, log, scan, kEveryRecord,
                                [&stats](const CallLogRecord &rec, int32_t weekday) {
                                    AddStatRecord(stats, rec, weekday);
                                });
    log.Close(scan.handle);
    PrintStatPage(engine, scan.doc, FiguresOf(stats), frame);
    return end;
}

// A cut-off document must not pass for a whole one, and a file that was not written must not
// pass for one that was.
void FinishDocument(ReportEngine &engine, ReportPrompts &prompts, int32_t doc, const ScanEnd &end) {
    if (end.failedStatus != 0)
        KeyfileFailure(prompts, "Error Reading Data File!", end.failedStatus);
    if (engine.pvEndDoc(doc, end.stopped ? END_STOPPED : END_FINISHED) < 1)
        prompts.Message("Error Writing PDF File!", "Report", MessageIcon::Error);
}

// The log checked, opened and counted, and the range chosen; false when the report ends here,
// its messages shown and the log closed.
bool OpenLogForRange(const ReportJob &job, CallLogSource &log, ReportPrompts &prompts,
                     ScanRequest &scan) {
    const std::string path = job.dataPath + kLogName;
    if (!log.Exists(path)) {
        prompts.Message("No Data", "Nothing To Do", MessageIcon::None);
        return false;
    }
    scan.handle = log.Open(path);
    if (scan.handle < 1) {
        OpenFailure(prompts, scan.handle);
        return false;
    }
    scan.total = log.Count(scan.handle);
    // A count that failed says no more about the file than a failed open does.
    if (scan.total < 0) {
        OpenFailure(prompts, scan.total);
        log.Close(scan.handle);
        return false;
    }
    if (scan.total == 0) {
        prompts.Message("No Records in Data File!", "Nothing To Do", MessageIcon::None);
        log.Close(scan.handle);
        return false;
    }
    if (prompts.AskRange(RangeTitle(job), scan.range) == 0) {
        log.Close(scan.handle);
        return false;
    }
    return true;
}

} // namespace

void RunReport(const ReportJob &job, ReportEngine &engine, CallLogSource &log,
               ReportPrompts &prompts) {
    ScanRequest scan;
    if (!OpenLogForRange(job, log, prompts, scan))
        return;
    const ReportClock now = job.clock();
    PageFrame frame{job.storeName, now, scan.range.startDate, scan.range.endDate};
    scan.doc = engine.pvStartDoc(0, CutText(DocumentTitle(job, now.date), kTitleLimit), "", 0, 1, 0,
                                 7, 4169);
    if (scan.doc < 1) {
        prompts.Message("Error:" + NumberToText(scan.doc), "Print Engine", MessageIcon::Error);
        log.Close(scan.handle);
        return;
    }
    FinishDocument(engine, prompts, scan.doc, ScanIntoDocument(job, engine, log, scan, frame));
}

void RunCsvExport(const ReportJob &job, CallLogSource &log, ReportPrompts &prompts,
                  CsvDestination &out) {
    ScanRequest scan;
    if (!OpenLogForRange(job, log, prompts, scan))
        return;
    if (!out.Choose(job.clock().date)) {
        log.Close(scan.handle);
        return;
    }
    std::string bytes = CallLogCsvStart();
    const ScanEnd end =
        ScanLog(out, log, scan, kEveryRecord,
                [&bytes](const CallLogRecord &rec, int32_t) { bytes += CallLogCsvLine(rec); });
    log.Close(scan.handle);
    out.ScanDone();
    // A file cut short by a failed read would pass for the whole range: none is written.
    if (end.failedStatus != 0)
        KeyfileFailure(prompts, "Error Reading Data File!", end.failedStatus);
    else if (!end.stopped && !out.Write(bytes))
        prompts.Message("Error Writing CSV File!", "Report", MessageIcon::Error);
}
