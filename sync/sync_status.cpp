// The content of DATA\QuorlSync.txt.
#include "sync_status.h"

#include "record_text.h"
#include "sync_rows.h"

namespace {

// A driver's message may run over several lines; the file keeps one value a line.
std::string OneLine(const std::string &text) {
    std::string line;
    for (char c : text) {
        if (c == '\r' || c == '\n') {
            if (!line.empty() && line.back() != ' ')
                line += ' ';
        } else {
            line += c;
        }
    }
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

} // namespace

std::string DateText(const ClockReading &c) {
    return ZeroPadded(c.Month, 2) + "-" + ZeroPadded(c.Day, 2) + "-" + ZeroPadded(c.Year, 4);
}

std::string StatusTimeText(const ClockReading &c) {
    return DateText(c) + " " + ClockText(c.Hour, c.Minute, c.Second);
}

std::string StatusFileText(const PassStatus &status) {
    return std::string("result=") + (status.Ok ? "ok" : "error") + "\r\n" +
           "time=" + StatusTimeText(status.End) + "\r\n" + "sent=" + Decimal(status.Sent) + "\r\n" +
           "total=" + Decimal(status.Total) + "\r\n" +
           "error=" + Utf8ToCp1252(OneLine(status.Error)) + "\r\n";
}
