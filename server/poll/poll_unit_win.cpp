// The file side of a poll pass on Windows: raw capture, station display write, call log insert.
#include "poll_unit.h"
#include "call_log.h"
#include "file_names.h"
#include "station_display.h"
#include <windows.h>

bool AppendRawReport(const std::string &programDir, const std::string &report) {
    if (programDir.empty())
        return false;
    std::string path = programDir + RAW_FILE;
    // Readers are let in: a viewer that has the capture open would otherwise cost every report
    // that arrives meanwhile. Other writers are still kept out, so lines never interleave.
    HANDLE file = CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    std::string line = report + "\r\n";
    DWORD written = 0;
    bool ok = WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
              written == line.size();
    CloseHandle(file);
    return ok;
}

void PollUnit(PollState &state, UnitLink &link) {
    std::string report = link.NextReport();
    if (report.empty())
        return;
    PollInputs inputs{LocalToday(), LocalSecondsNow(), state.CallLog != 0,
                      ExclLookupFor(state.DisplayExcl), ExclLookupFor(state.LogExcl)};
    PollDecision d = DecideReport(report, state.Config, state.Pending, inputs);
    if (d.Capture)
        AppendRawReport(state.ProgramDir, report);
    if (d.ShowDisplay)
        WriteDisplayRecord(state.ProgramDir, d.Line, d.Display);
    if (d.Log)
        InsertCallLog(state.CallLog, d.Record);
}
