// /once, /init and /check: one pass, the schema, the technician's test.
#include "sync_commands_win.h"

#include "file_names.h"
#include "sync_instance_win.h"
#include "sync_message_win.h"
#include "sync_rows.h"
#include "sync_run_win.h"
#include "sync_server_win.h"
#include "sync_site_win.h"

int RunOnce(const std::string &programDir) {
    SyncInstance instance(programDir);
    if (!instance.Held())
        return SYNC_EXIT_ALREADY_RUNNING;
    SyncSettings settings;
    const std::string problem = ReadSyncSettings(programDir, settings);
    if (!problem.empty()) {
        RecordFailedPass(programDir, problem);
        return SYNC_EXIT_BAD_SETTINGS;
    }
    return RunRecordedPass(programDir, settings, true, {}) ? SYNC_EXIT_OK : SYNC_EXIT_FAILED;
}

int InitSchema(const std::string &programDir) {
    SyncSettings settings;
    if (!ReadSyncSettings(programDir, settings).empty())
        return SYNC_EXIT_FAILED;
    OdbcSyncServer server(settings.Connection);
    return server.Connect() && server.CreateSchema() ? SYNC_EXIT_OK : SYNC_EXIT_FAILED;
}

namespace {

// What /check found, in the words of the box; "" in `problem` when all is well.
std::string CheckText(const std::string &programDir, std::string &problem) {
    SyncSettings settings;
    problem = ReadSyncSettings(programDir, settings);
    if (!problem.empty())
        return problem;
    OdbcSyncServer server(settings.Connection);
    if (!server.Connect())
        return problem = "Cannot connect to the head-office database: " + server.Error();
    bool taken = false;
    int64_t total = 0;
    const std::string id = ExistingInstallationId(programDir);
    if (!server.SiteTotal(settings.Site, total))
        return problem = "The head-office database answers but refused to count this site's "
                         "calls (was Ringsync.exe /init run?): " +
                         server.Error();
    if (!id.empty() && !server.ClaimSite(settings.Site, id, taken))
        return problem = "The head-office database refused the site's claim: " + server.Error();
    if (taken)
        return problem = "The site name " + settings.Site +
                         " belongs to another installation at the head office: give this site "
                         "a Site of its own in POSOvena.INI.";
    return "The settings are right and the head-office database answers.\n\nSite " + settings.Site +
           ": " + Decimal(total) + " calls at the head office, a pass every " +
           Decimal(settings.IntervalSeconds) + " seconds.";
}

} // namespace

int CheckSetup(const std::string &programDir) {
    std::string problem;
    const std::string text = CheckText(programDir, problem);
    ShowSyncMessage(text, problem.empty() ? MB_ICONINFORMATION : MB_ICONERROR);
    return problem.empty() ? SYNC_EXIT_OK : SYNC_EXIT_FAILED;
}
