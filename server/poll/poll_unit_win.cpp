// The file side of a poll pass on Windows: raw capture, station display write, call log insert.
#include "poll_unit.h"
#include "call_log.h"
#include "file_names.h"
#include "keyfile.h"
#include "station_display.h"
#include <windows.h>

namespace {

// Calls kept while the log refuses them: about 130 KB, hours of calls in a busy restaurant.
const size_t kMaxUnloggedCalls = 1000;

// Stops at the first record that still cannot be written: the others would fail the same way.
void ShowUnshownLines(PollState &state) {
    for (auto it = state.Unshown.begin(); it != state.Unshown.end();) {
        if (!WriteDisplayRecord(state.ProgramDir, it->first, it->second))
            return;
        it = state.Unshown.erase(it);
    }
}

// An order station must not keep showing an old caller because the file was held for a moment.
void ShowOnStations(PollState &state, int32_t line, const StationDisplayRecord &rec) {
    if (WriteDisplayRecord(state.ProgramDir, line, rec))
        state.Unshown.erase(line);
    else
        state.Unshown[line] = rec;
}

// The refusals that pass: another program holding the log longer than the record manager waits
// for it, or a full disk. Any other refusal would refuse the record again.
bool MayLogLater(int32_t status) {
    return status == KF_BUSY || status == KF_IO_ERROR;
}

void LogCall(PollState &state, const CallLogRecord &rec) {
    if (state.Unlogged.size() >= kMaxUnloggedCalls)
        state.Unlogged.pop_front();
    state.Unlogged.push_back(rec);
    LogUnloggedCalls(state);
}

} // namespace

bool AppendRawReport(const std::string &programDir, const std::string &report) {
    if (programDir.empty())
        return false;
    std::string path = programDir + RAW_FILE;
    // Readers are let in: a viewer that has the capture open would otherwise cost every report
    // that arrives meanwhile. Other writers are still kept out, so lines never interleave.
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER end{};
    std::string line = report + "\r\n";
    DWORD written = 0;
    bool ok = SetFilePointerEx(file, LARGE_INTEGER{}, &end, FILE_END) &&
              WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
              written == line.size();
    // A disk that fills up in the middle of the line leaves part of it; the next report would
    // run on from that part, so the capture is cut back to its last whole line.
    if (!ok && written > 0 && SetFilePointerEx(file, end, nullptr, FILE_BEGIN))
        SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

void LogUnloggedCalls(PollState &state) {
    while (!state.Unlogged.empty()) {
        const int32_t status = InsertCallLog(state.CallLog, state.Unlogged.front());
        if (status != KF_OK && MayLogLater(status))
            return;
        state.Unlogged.pop_front();
    }
}

void PollUnit(PollState &state, UnitLink &link) {
    ShowUnshownLines(state);
    std::string report = link.NextReport();
    if (report.empty())
        return;
    PollInputs inputs{LocalToday(), LocalSecondsNow(), state.CallLog != 0,
                      ExclLookupFor(state.DisplayExcl), ExclLookupFor(state.LogExcl)};
    PollDecision d = DecideReport(report, state.Config, state.Pending, inputs);
    if (d.Capture)
        AppendRawReport(state.ProgramDir, report);
    if (d.ShowDisplay)
        ShowOnStations(state, d.Line, d.Display);
    if (d.Log)
        LogCall(state, d.Record);
}
