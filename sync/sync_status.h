// DATA\QuorlSync.txt: what the last pass did, for the technician and for scripts. Replaced whole
// after every pass; Windows-1252 text, one "name=value" a line.
#pragma once
#include <cstdint>
#include <string>

#define SYNC_STATUS_FILE "DATA\\QuorlSync.txt"

struct ClockReading {
    int Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// "mm-dd-yyyy HH:MM:SS".
std::string StatusTimeText(const ClockReading &clock);
// "mm-dd-yyyy", the date as Pantry reads it.
std::string DateText(const ClockReading &clock);

struct PassStatus {
    bool Ok = false;
    ClockReading End;
    int64_t Sent = 0, Total = 0;
    std::string Error; // UTF-8; "" on success
};

// The whole file: result, time, sent, total and error, each line ended by CR LF. The error is
// one line in Windows-1252, whatever the driver's message held.
std::string StatusFileText(const PassStatus &status);
