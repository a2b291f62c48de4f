// The pass with the site's real log, clock and status file.
#include "sync_run_win.h"

#include "file_names.h"
#include "keyfile_call_log_win.h"
#include "sync_pass.h"
#include "sync_server_win.h"
#include "sync_site_win.h"

namespace {

void Record(const std::string &programDir, const PassOutcome &outcome) {
    PassStatus status;
    status.Ok = outcome.Ok;
    status.Sent = outcome.Sent;
    status.Total = outcome.Total;
    status.Error = outcome.Error;
    status.End = LocalClockReading();
    WriteStatusFile(programDir, status);
}

} // namespace

void RecordFailedPass(const std::string &programDir, const std::string &error) {
    PassOutcome outcome;
    outcome.Error = error;
    Record(programDir, outcome);
}

bool RunRecordedPass(const std::string &programDir, const SyncSettings &settings, bool everyDay,
                     const std::function<bool()> &stopRequested) {
    PassRequest request;
    std::string error;
    if (!InstallationId(programDir, request.Installation, error)) {
        RecordFailedPass(programDir, error);
        return false;
    }
    request.Site = settings.Site;
    request.LogPath = programDir + CALL_LOG_FILE;
    request.Today = TodayDayNumber();
    request.EveryDay = everyDay;
    request.StopRequested = stopRequested;
    KeyfileCallLog log;
    OdbcSyncServer server(settings.Connection);
    const PassOutcome outcome = RunSyncPass(log, server, request);
    Record(programDir, outcome);
    return outcome.Ok;
}
