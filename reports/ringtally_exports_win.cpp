// The report exports the back office calls with its window.
#include "ask_phone_num_win.h"
#include "ask_short_seconds_win.h"
#include "csv_file_win.h"
#include "log_rows.h"
#include "report_bindings_win.h"
#include "report_flow.h"
#include "ringtally.h"
#include "ringtally_state_win.h"

namespace {

// One report at a time: a second one started through the host while the first waits in a
// dialog or the preview would share the library's state with it.
class RunningReport {
  public:
    RunningReport() : entered_(!g_ringtally.running) { g_ringtally.running = true; }
    ~RunningReport() {
        if (entered_)
            g_ringtally.running = false;
    }
    bool Entered() const { return entered_; }

  private:
    bool entered_;
};

ReportJob Prepared(ReportJob job) {
    job.dataPath = g_ringtally.dataPath;
    job.storeName = StoreName();
    job.clock = LocalClock;
    return job;
}

void RunFor(HWND owner, const ReportJob &job) {
    PrnviewEngine engine;
    KeyfileCallLog log;
    WindowPrompts prompts(owner);
    RunReport(Prepared(job), engine, log, prompts);
}

void RunListOrStats(HWND owner, Report report) {
    RunningReport running;
    if (!running.Entered() || InitRptPaths() == 0)
        return;
    ReportJob job;
    job.report = report;
    RunFor(owner, job);
}

} // namespace

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH)
        g_ringtally.module = module;
    return TRUE;
}

RINGTALLY_API void __stdcall IBLogRpt(HWND owner) {
    RunListOrStats(owner, Report::Inbound);
}

RINGTALLY_API void __stdcall OBLogRpt(HWND owner) {
    RunListOrStats(owner, Report::Outbound);
}

RINGTALLY_API void __stdcall CllStsRpt(HWND owner) {
    RunListOrStats(owner, Report::Statistics);
}

RINGTALLY_API void __stdcall CllsByNum(HWND owner) {
    RunningReport running;
    if (!running.Entered() || InitRptPaths() == 0)
        return;
    ReportJob job;
    job.report = Report::ByNumber;
    // Asked before the call log is looked for: no number, nothing touched.
    if (!WantedNumber(AskPhoneNum(owner), job.wantedNumber))
        return;
    RunFor(owner, job);
}

RINGTALLY_API void __stdcall CallbackRpt(HWND owner) {
    RunningReport running;
    if (!running.Entered() || InitRptPaths() == 0)
        return;
    ReportJob job;
    job.report = Report::Callback;
    // Asked before the call log is looked for, as the number of the calls-by-number report is.
    if (!AskShortSeconds(owner, job.shortSeconds))
        return;
    RunFor(owner, job);
}

RINGTALLY_API void __stdcall CallLogCsv(HWND owner) {
    RunningReport running;
    if (!running.Entered() || InitRptPaths() == 0)
        return;
    KeyfileCallLog log;
    WindowPrompts prompts(owner);
    CsvFile file(owner);
    RunCsvExport(Prepared(ReportJob()), log, prompts, file);
}
