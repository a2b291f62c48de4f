// The station display file DATA\OvenCID.DAT that the order stations read (one 50-byte record per
// line), and the line lock files CONTROL\LINEnn.LCK that mark the lines a server serves.
#pragma once
#include "station_display_record.h"

#include <cstdint>
#include <string>
#include <vector>

// "Waiting" / "For Call" / "".
StationDisplayRecord WaitingRecord();
// "SERVER" / "OFFLINE" / the time the server stopped.
StationDisplayRecord OfflineRecord(const std::string &hhmmss);
// The caller as the unit printed it; texts cut to 19, 19 and 9 characters.
StationDisplayRecord CallRecord(const std::string &number, const std::string &name,
                                const std::string &time);
// "CONTROL\LINE01.LCK": at least two digits, all of them for lines of 100 and more.
std::string LineLockFileName(int32_t line);

// Writes one line's record (lines from 1), opening the file shared and closing it at once;
// false when the program directory is empty, the line is below 1 or the write fails.
bool WriteDisplayRecord(const std::string &programDir, int32_t line,
                        const StationDisplayRecord &rec);
// Every line from first to last (an empty range when last < first) shown waiting / offline;
// ShowWaitingForCall gives false when the file could not be written.
bool ShowWaitingForCall(const std::string &programDir, int32_t first, int32_t last);
// All lines show the same time of day, taken once.
void ShowServerOffline(const std::string &programDir, int32_t first, int32_t last);

// The lock files held open without sharing, Handles[line - First] (null: not held).
struct LineLocks {
    int32_t First = 0, Last = 0;
    std::vector<void *> Handles;
    std::string ProgramDir;
};
// Takes the lock file of every line from first to last, deleting stale ones first. 0 when all
// are held; 1 when one is held by another program or cannot be made, after releasing (closing
// and deleting) what this call took. Locks held before by `locks` are released first.
int32_t LockLines(LineLocks &locks, const std::string &programDir, int32_t first, int32_t last);
// Closes and deletes every held lock file.
void UnlockLines(LineLocks &locks);
