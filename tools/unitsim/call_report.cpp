// Fixed-column formatting of the unit's call reports.
#include "call_report.h"

#include <cstdio>

namespace {

// Writes text into the report at a 1-based column, widening the report as needed.
void Put(std::string &report, size_t column, const std::string &text) {
    if (report.size() < column - 1 + text.size()) {
        report.resize(column - 1 + text.size(), ' ');
    }
    report.replace(column - 1, text.size(), text);
}

std::string Digits(int value, int width) {
    char text[16];
    std::snprintf(text, sizeof text, "%0*d", width, value);
    return text;
}

int Clamp(int value, int low, int high) {
    return value < low ? low : value > high ? high : value;
}

} // namespace

void SetClockTime(CallEvent &call, int hour, int minute) {
    const int hour12 = hour % 12 == 0 ? 12 : hour % 12;
    call.time = Digits(hour12, 2) + ":" + Digits(minute, 2);
    call.meridiem = hour < 12 ? "AM" : "PM";
}

std::string FormatCallReport(const CallEvent &call) {
    std::string report(47, ' ');
    Put(report, 1, Digits(Clamp(call.line, 0, 99), 2));
    Put(report, 4, std::string(1, call.direction));
    Put(report, 6, std::string(1, call.event));
    Put(report, 8, Digits(Clamp(call.duration, 0, 9999), 4));
    Put(report, 13, std::string(1, call.check));
    Put(report, 16, Digits(Clamp(call.rings, 0, 9), 1));
    Put(report, 18, call.date.substr(0, 5));
    Put(report, 24, call.time.substr(0, 5));
    Put(report, 30, call.meridiem.substr(0, 2));
    Put(report, 33, call.number.substr(0, 14));
    if (!call.name.empty()) {
        Put(report, 48, call.name);
    }
    return report;
}
