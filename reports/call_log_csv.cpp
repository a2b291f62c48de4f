// Call log rows as CSV fields.
#include "call_log_csv.h"

#include "csv.h"
#include "record_text.h"
#include "report_text.h"

#include <cstdio>

namespace {

const int32_t kSecondsPerDay = 86400;

bool AtStart(const CallLogRecord &rec) {
    return (rec.Status & LOG_STATUS_AT_START) != 0;
}

// "yyyy-mm-dd" of "mm-dd-yyyy"; empty when the text is no such date.
std::string IsoDate(const std::string &date) {
    if (date.size() != 10)
        return "";
    return date.substr(6, 4) + "-" + date.substr(0, 2) + "-" + date.substr(3, 2);
}

std::string Time24(int32_t seconds) {
    if (seconds < 0 || seconds >= kSecondsPerDay)
        return "";
    char text[8];
    std::snprintf(text, sizeof text, "%02d:%02d", static_cast<int>(seconds / 3600),
                  static_cast<int>(seconds / 60 % 60));
    return text;
}

std::string DirectionText(char direction) {
    if (direction == 'I')
        return "In";
    if (direction == 'O')
        return "Out";
    return direction > ' ' ? std::string(1, direction) : "";
}

} // namespace

std::string CallLogCsvStart() {
    return CsvByteOrderMark() + CsvLine({"Date", "Time", "Direction", "Line", "Number", "Name",
                                         "Extra Digits", "Seconds", "Rings", "Caller ID Error"});
}

std::string CallLogCsvLine(const CallLogRecord &rec) {
    const bool known = !AtStart(rec);
    return CsvLine({IsoDate(DayText(rec.Day)), Time24(rec.Seconds), DirectionText(rec.Direction),
                    std::to_string(rec.Line), FmtPhone(GetTextPadded(rec.Number)),
                    GetTextNul(rec.Name), GetTextNul(rec.ExtraDigits),
                    known ? std::to_string(rec.Duration) : "",
                    known && rec.Direction == 'I' ? std::to_string(rec.Rings) : "",
                    (rec.Status & LOG_STATUS_CID_ERROR) != 0 ? "Yes" : "No"});
}

std::string CallLogCsvName(const std::string &date, int copy) {
    const std::string taken = copy > 1 ? " (" + std::to_string(copy) + ")" : "";
    return "Call Log " + IsoDate(date) + taken + ".csv";
}
