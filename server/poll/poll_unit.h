// `PollUnit`: one pass of the server thread from the unit's next call report to the raw
// capture file, the station display file and the call log.
#pragma once
#include "link/unit_link.h"
#include "poll_decision.h"
#include <cstdint>
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
};

// Takes at most one report from the link and carries out what it decides. Nothing is reported:
// a file that cannot be written is skipped for this report.
void PollUnit(PollState &state, UnitLink &link);

// Appends the report and CR LF to DATA\QuorlRaw.txt, opened without sharing for this one write;
// false (and nothing written) while another program holds the file open.
bool AppendRawReport(const std::string &programDir, const std::string &report);
