// Inbound, outbound and calls-by-number rows.
#include "log_rows.h"

#include "record_text.h"
#include "report_frame.h"
#include "report_text.h"

namespace {

const size_t kWantedWidth = 20;

bool AtStart(const CallLogRecord &rec) {
    return (rec.Status & LOG_STATUS_AT_START) != 0;
}

std::string Secs(const CallLogRecord &rec) {
    return AtStart(rec) ? "N/A" : std::to_string(rec.Duration);
}

// Date, time and number open every row.
void PrintRowStart(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec) {
    engine.pvFont(doc, 0, 10, COLOUR_BLACK, "Courier New");
    engine.pvText(doc, 0.5f, y, ALIGN_LEFT, DayText(rec.Day));
    engine.pvText(doc, 1.5f, y, ALIGN_LEFT, Time12Text(rec.Seconds));
    engine.pvText(doc, 2.2f, y, ALIGN_LEFT, FmtPhone(GetTextPadded(rec.Number)));
}

} // namespace

void PrintInRow(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec) {
    PrintRowStart(engine, doc, y, rec);
    engine.pvText(doc, 3.7f, y, ALIGN_LEFT, GetTextNul(rec.Name));
    engine.pvText(doc, 6.35f, y, ALIGN_RIGHT, Secs(rec));
    engine.pvText(doc, 6.7f, y, ALIGN_CENTRE, TwoDigits(rec.Line));
    engine.pvText(doc, 7.2f, y, ALIGN_CENTRE, AtStart(rec) ? "N/A" : TwoDigits(rec.Rings));
    engine.pvText(doc, 7.75f, y, ALIGN_CENTRE,
                  (rec.Status & LOG_STATUS_CID_ERROR) != 0 ? "YES" : "NO");
    PrintRowRule(engine, doc, y);
}

void PrintOutRow(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec) {
    PrintRowStart(engine, doc, y, rec);
    engine.pvText(doc, 3.7f, y, ALIGN_LEFT, GetTextNul(rec.ExtraDigits));
    engine.pvText(doc, 7.35f, y, ALIGN_RIGHT, Secs(rec));
    engine.pvText(doc, 7.8f, y, ALIGN_CENTRE, TwoDigits(rec.Line));
    PrintRowRule(engine, doc, y);
}

void PrintNumRow(ReportEngine &engine, int32_t doc, float y, const CallLogRecord &rec) {
    const bool inbound = rec.Direction == 'I';
    PrintRowStart(engine, doc, y, rec);
    engine.pvText(doc, 3.7f, y, ALIGN_LEFT, GetTextNul(rec.Name));
    engine.pvText(doc, 6.35f, y, ALIGN_RIGHT, Secs(rec));
    engine.pvText(doc, 6.7f, y, ALIGN_CENTRE, TwoDigits(rec.Line));
    engine.pvText(doc, 7.2f, y, ALIGN_CENTRE,
                  AtStart(rec) || !inbound ? "N/A" : TwoDigits(rec.Rings));
    engine.pvText(doc, 7.75f, y, ALIGN_CENTRE, inbound ? "In" : "Out");
    PrintRowRule(engine, doc, y);
}

bool WantedNumber(const std::string &answer, std::string &wanted) {
    wanted = CutText(answer, kWantedWidth);
    wanted.resize(kWantedWidth, ' ');
    return wanted.find_first_not_of(std::string(" \0", 2)) != std::string::npos;
}

bool NumberMatches(const CallLogRecord &rec, const std::string &wanted) {
    const std::string digits = DigitsOnly(std::string(rec.Number, sizeof rec.Number));
    return digits == DigitsOnly(wanted) || digits == DigitsOnly("1" + wanted);
}
