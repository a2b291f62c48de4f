// The rules of one poll pass: which reports are captured, shown and logged, and how.
#include "poll_decision.h"
#include "excl_list.h"
#include "record_text.h"
#include "station_display.h"
#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

int32_t ServedFirstLine(const CidConfig &cfg) {
    return std::max<int32_t>(cfg.FirstLine, 1);
}

std::string KeepOnly(const std::string &text, const char *allowed) {
    std::string kept;
    for (char c : text)
        if (c != '\0' && std::strchr(allowed, c))
            kept += c;
    return kept;
}

// The words a unit prints instead of a withheld number, as the call log stores them.
bool IsWithheldNumber(const char (&number)[20]) {
    std::string text = GetTextPadded(number);
    text.erase(0, text.find_first_not_of(' '));
    for (char &c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text == "PRIVATE" || text == "OUT-OF-AREA" || text == "UNKNOWN";
}

// The fields of a report that the rules look at.
struct Report {
    explicit Report(const std::string &text)
        : Direction(GetField(COL_DIRECTION, text)), Event(GetField(COL_EVENT, text)),
          Check(GetField(COL_CHECK, text)), Date(GetField(COL_DATE, text)),
          Time(GetField(COL_TIME, text)), Meridiem(GetField(COL_MERIDIEM, text)),
          Number(GetField(COL_NUMBER, text)), Name(GetField(COL_NAME, text)),
          Duration(ReadLeadingNumber(GetField(COL_DURATION, text))),
          Rings(ReadLeadingNumber(GetField(COL_RINGS, text))) {}
    bool IsStart() const { return Event == "S"; }
    bool IsEnd() const { return Event == "E"; }
    bool IsInbound() const { return Direction == "I"; }
    bool IsOutbound() const { return Direction == "O"; }
    bool IsCidError() const { return Check != "G"; }

    std::string Direction, Event, Check, Date, Time, Meridiem, Number, Name;
    int32_t Duration, Rings;
};

void DecideDisplay(const Report &r, const CidConfig &cfg, const PollInputs &in, PollDecision &d) {
    const bool refreshAtEnd = cfg.Options & CFG_REFRESH_END;
    if (refreshAtEnd && r.IsEnd()) {
        d.Display = WaitingRecord();
        d.ShowDisplay = true;
    } else if (refreshAtEnd || r.IsStart()) {
        // The "*" marks an unreliable caller ID on the record a call starts with.
        std::string name = r.IsStart() && r.IsCidError() ? "*" + r.Name : r.Name;
        d.Display = CallRecord(r.Number, name, r.Time + " " + r.Meridiem);
        d.ShowDisplay = true;
    }
    // Outbound calls are the restaurant's own and never shown.
    if (r.IsOutbound())
        d.ShowDisplay = false;
    if (d.ShowDisplay && (cfg.Options & CFG_EXCL_SHOW) && in.DisplayExcluded &&
        GetTextNul(d.Display.Number) != "Waiting" && in.DisplayExcluded(DisplayExclKey(r.Number)))
        d.ShowDisplay = false;
}

// Fills the record when this report is one to log; false when it is not.
bool BuildLogRecord(const Report &r, const CidConfig &cfg, PendingNames &pending, int32_t line,
                    CallLogRecord &rec) {
    const uint32_t opt = cfg.Options;
    std::string extra, name;
    char direction = 'I';
    int32_t duration = 0, rings = 0;
    const uint32_t error = r.IsCidError() ? uint32_t{LOG_STATUS_CID_ERROR} : 0u;
    uint32_t status;
    if (opt & CFG_FULL_LOG) {
        std::string *pendingName = pending.Entry(line);
        if (r.IsStart()) {
            if (pendingName)
                *pendingName = r.Name;
            return false;
        }
        if (opt & CFG_LOG_OUTBOUND) {
            extra = KeepOnly(r.Name, "*#0123456789");
            direction = r.Direction.empty() ? '\0' : r.Direction[0];
        } else if (!r.IsInbound()) {
            return false;
        }
        name = pendingName ? *pendingName : std::string();
        duration = r.Duration;
        rings = std::min<int32_t>(r.Rings, INT16_MAX);
        status = error;
    } else {
        if (!r.IsInbound() || !r.IsStart())
            return false;
        name = r.Name;
        status = LOG_STATUS_AT_START | error;
    }
    PutTextNul(rec.ExtraDigits, extra);
    PutTextPadded(rec.Number, ClassifyNumber(r.Number));
    PutTextNul(rec.Name, name);
    rec.Duration = duration;
    rec.Line = static_cast<int16_t>(line);
    rec.Rings = static_cast<int16_t>(rings);
    rec.Direction = direction;
    rec.Status = status;
    return true;
}

void DecideLog(const Report &r, const CidConfig &cfg, PendingNames &pending, const PollInputs &in,
               PollDecision &d) {
    const uint32_t opt = cfg.Options;
    if (!(opt & CFG_LOGGING) || !BuildLogRecord(r, cfg, pending, d.Line, d.Record))
        return;
    d.Record.Day = UnitDateToDays(r.Date, in.Today);
    d.Record.Seconds = UnitTimeToSeconds(r.Time, r.Meridiem, in.NowSeconds);
    if (!in.CallLogOpen)
        return;
    if ((opt & CFG_NO_LOG_WITHHELD) && IsWithheldNumber(d.Record.Number))
        return;
    if ((opt & CFG_EXCL_LOG) && in.LogExcluded && in.LogExcluded(LogExclKey(d.Record.Number)))
        return;
    d.Log = true;
}

} // namespace

ExclLookup ExclLookupFor(int32_t handle) {
    if (handle == 0)
        return {};
    return [handle](const std::string &key16) { return IsExcluded(handle, key16); };
}

bool LineIsServed(const CidConfig &cfg, int32_t line) {
    return line >= ServedFirstLine(cfg) && line <= cfg.LastLine;
}

PendingNames::PendingNames(const CidConfig &cfg) : first_(ServedFirstLine(cfg)) {
    if (cfg.LastLine >= first_)
        names_.resize(cfg.LastLine - first_ + 1);
}

std::string *PendingNames::Entry(int32_t line) {
    if (line < first_ || line - first_ >= static_cast<int32_t>(names_.size()))
        return nullptr;
    return &names_[line - first_];
}

PollDecision DecideReport(const std::string &report, const CidConfig &cfg, PendingNames &pending,
                          const PollInputs &inputs) {
    PollDecision d;
    std::memset(&d.Record, 0, sizeof d.Record);
    if (report.empty())
        return d;
    d.Capture = cfg.Options & CFG_RAW_OUTPUT;
    const int32_t line = ReadLeadingNumber(GetField(COL_LINE, report));
    if (!LineIsServed(cfg, line))
        return d;
    d.Line = line;
    const Report r(report);
    d.CidError = r.IsCidError();
    DecideDisplay(r, cfg, inputs, d);
    DecideLog(r, cfg, pending, inputs, d);
    return d;
}
