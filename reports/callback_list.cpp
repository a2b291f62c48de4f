// The callback rule, its table per number and its pages.
#include "callback_list.h"

#include "record_text.h"
#include "report_text.h"

#include <algorithm>

namespace {

const int32_t kMostSeconds = 600;
const size_t kLongDistanceDigits = 11;

bool AtStart(const CallLogRecord &rec) {
    return (rec.Status & LOG_STATUS_AT_START) != 0;
}

bool NewerFirst(const CallbackRow &a, const CallbackRow &b) {
    if (a.last.Day != b.last.Day)
        return a.last.Day > b.last.Day;
    if (a.last.Seconds != b.last.Seconds)
        return a.last.Seconds > b.last.Seconds;
    return a.order < b.order;
}

std::string RuleText(const CallbackTally &tally) {
    return "Inbound calls of at most " + std::to_string(tally.Limit()) +
           " seconds with no longer call from or call to the number afterwards";
}

// One line of text across the page, on the row the list has reached.
int32_t PrintNote(ReportEngine &engine, int32_t doc, int32_t row, const PageFrame &frame,
                  const std::string &text) {
    row = NextRptLine(engine, doc, row, KIND_CALLBACK, frame);
    engine.pvFont(doc, 0, 10, COLOUR_BLACK, "Times New Roman");
    engine.pvText(doc, 0.5f, RowY(row), ALIGN_LEFT, text);
    return row + 1;
}

void PrintCallbackRow(ReportEngine &engine, int32_t doc, float y, const CallbackRow &row) {
    const CallLogRecord &rec = row.last;
    engine.pvFont(doc, 0, 10, COLOUR_BLACK, "Courier New");
    engine.pvText(doc, 0.5f, y, ALIGN_LEFT, DayText(rec.Day));
    engine.pvText(doc, 1.5f, y, ALIGN_LEFT, Time12Text(rec.Seconds));
    engine.pvText(doc, 2.2f, y, ALIGN_LEFT, FmtPhone(GetTextPadded(rec.Number)));
    engine.pvText(doc, 3.7f, y, ALIGN_LEFT, GetTextNul(rec.Name));
    engine.pvText(doc, 6.2f, y, ALIGN_CENTRE, TwoDigits(rec.Line));
    engine.pvText(doc, 6.85f, y, ALIGN_CENTRE, TwoDigits(rec.Rings));
    engine.pvText(doc, 8.0f, y, ALIGN_RIGHT, std::to_string(row.attempts));
    PrintRowRule(engine, doc, y);
}

} // namespace

bool ParseCallbackSeconds(const std::string &text, int32_t &seconds) {
    const std::string trimmed = TrimBlanks(text);
    if (trimmed.empty() || trimmed.size() > 3 || DigitsOnly(trimmed) != trimmed)
        return false;
    const int32_t value = std::stoi(trimmed);
    if (value < 1 || value > kMostSeconds)
        return false;
    seconds = value;
    return true;
}

std::string MatchedDigits(const std::string &number) {
    std::string digits = DigitsOnly(number);
    if (digits.size() == kLongDistanceDigits && digits[0] == '1')
        digits.erase(0, 1);
    return digits;
}

bool CallbackTally::IsShort(const CallLogRecord &rec, int32_t weekday) const {
    return rec.Direction == 'I' && !AtStart(rec) && rec.Duration <= limit_ &&
           (dayMask_ & (1 << weekday)) != 0;
}

bool CallbackTally::IsLong(const CallLogRecord &rec) const {
    return rec.Direction == 'I' && !AtStart(rec) && rec.Duration > limit_;
}

void CallbackTally::Add(const CallLogRecord &rec, int32_t weekday) {
    ++seen_;
    hasDurations_ = hasDurations_ || (rec.Direction == 'I' && !AtStart(rec));
    hasOutbound_ = hasOutbound_ || rec.Direction == 'O';
    const std::string digits = MatchedDigits(std::string(rec.Number, sizeof rec.Number));
    const bool shortCall = IsShort(rec, weekday);
    if (digits.empty()) {
        withheld_ += shortCall ? 1 : 0;
        return;
    }
    if (shortCall) {
        CallbackRow &row = waiting_[digits];
        row.last = rec;
        row.order = seen_;
        ++row.attempts;
    } else if (rec.Direction == 'O' || IsLong(rec)) {
        waiting_.erase(digits);
    }
}

std::vector<CallbackRow> CallbackTally::Rows() const {
    std::vector<CallbackRow> rows;
    rows.reserve(waiting_.size());
    for (const auto &entry : waiting_)
        rows.push_back(entry.second);
    std::sort(rows.begin(), rows.end(), NewerFirst);
    return rows;
}

void PrintCallbackList(ReportEngine &engine, int32_t doc, const CallbackTally &tally,
                       const PageFrame &frame) {
    PrintRptHead(engine, doc, KIND_CALLBACK, frame);
    if (!tally.HasDurations()) {
        PrintNote(engine, doc, 0, frame, "The callback list needs full call logging.");
        return;
    }
    int32_t row = PrintNote(engine, doc, 0, frame, RuleText(tally));
    // On a line of its own: the rule and this would not fit the page's width together.
    if (!tally.HasOutbound())
        row =
            PrintNote(engine, doc, row, frame,
                      "(no outbound calls are logged in this range, so callbacks cannot be seen)");
    for (const CallbackRow &callback : tally.Rows()) {
        row = NextRptLine(engine, doc, row, KIND_CALLBACK, frame);
        PrintCallbackRow(engine, doc, RowY(row), callback);
        ++row;
    }
    if (tally.WithheldShortCalls() != 0)
        PrintNote(engine, doc, row, frame,
                  "Also " + std::to_string(tally.WithheldShortCalls()) +
                      " short calls from withheld numbers");
}
