// Call reports as the unit prints them: fixed columns, one event of one line.
#pragma once
#include <string>

struct CallEvent {
    int line = 1;
    char direction = 'I'; // I inbound, O outbound
    char event = 'S';     // S start, E end of call
    int duration = 0;     // seconds, end of call
    char check = 'G';     // G good; anything else is a caller-ID error
    int rings = 0;
    std::string date;     // mm/dd; "" for today
    std::string time;     // hh:mm on a 12-hour clock; "" for now
    std::string meridiem; // AM or PM; "" for now
    std::string number;
    std::string name; // outbound end of call: the extra digits dialed
};

// The report text without line end: line at column 1, direction 4, event 6, duration 8,
// check 13, rings 16, date 18, time 24, meridiem 30, number 33, name 48.
std::string FormatCallReport(const CallEvent &call);
// "HH:MM" on a 24-hour clock into the 12-hour time and meridiem of a report.
void SetClockTime(CallEvent &call, int hour, int minute);
