// `PollUnit`: one pass of the server thread from the unit's next call report to the raw
// capture file, the station display file and the call log.
#pragma once
#include "link/unit_link.h"
#include "poll_decision.h"
#include <cstdint>
#include <deque>
#include <map>
#include <string>

// Everything a pass keeps from one pass to the next, set up by the server thread at its start.
struct PollState {
    PollState(const std::string &programDir, const CidConfig &config)
        : ProgramDir(programDir), Config(config), Pending(config) {}

    std::string ProgramDir;
    CidConfig Config;
    int32_t CallLog = 0; // record manager handles, 0 when the file is not in use
    int32_t LogExcl = 0;
    int32_t DisplayExcl = 0;
    PendingNames Pending;
    // What could not be written yet (the file held by another program, a full disk), written
    // before anything newer: the latest record of each line, and the calls in arrival order.
    std::map<int32_t, StationDisplayRecord> Unshown;
    std::deque<CallLogRecord> Unlogged;
};

// Takes at most one report from the link and carries out what it decides. Nothing is reported:
// a display record or call that cannot be written is kept and written at a later pass.
void PollUnit(PollState &state, UnitLink &link);
// Inserts the calls the log refused so far, oldest first; those it still refuses stay kept.
void LogUnloggedCalls(PollState &state);

// Appends the report and CR LF to DATA\QuorlRaw.txt, opened for this one write and shared only
// with readers; false (and nothing written) while another program holds the file open or when
// the line does not fit on the disk.
bool AppendRawReport(const std::string &programDir, const std::string &report);
