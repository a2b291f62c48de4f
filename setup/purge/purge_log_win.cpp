// `PurgeLog`: the checks before a purge, the scan over the call log through the record manager,
// and what the user sees of it.
#include "purge_log_win.h"

#include <cstdio>
#include <string>

#include "call_busy_win.h"
#include "file_names.h"
#include "keyfile.h"
#include "pantry.h"
#include "purge_dialog_ids.h"
#include "purge_scan.h"
#include "ringtune_message_win.h"
#include "ringtune_state_win.h"
#include "wait_ms.h"

namespace {

// The call log through one record manager handle, in the order of key 1.
class CallLogRecords : public PurgeRecords {
  public:
    CallLogRecords(int32_t handle, HWND progress) : handle_(handle), progress_(progress) {}

    int32_t ReadFirst(CallLogRecord &record) override { return Get(KF_GET_FIRST, record); }
    int32_t ReadNext(CallLogRecord &record) override { return Get(KF_GET_NEXT, record); }
    int32_t DeleteLastRead() override { return kf_Delete(&handle_); }
    void Deleted(int32_t count) override {
        ShowPurgeProgress(progress_, count);
        HandlePendingMessages();
    }

  private:
    int32_t Get(int32_t op, CallLogRecord &record) {
        const int32_t length = sizeof record, keyNumber = 1, noKey = 0;
        return kf(&op, &handle_, &record, &length, nullptr, &noKey, &keyNumber);
    }
    int32_t handle_;
    HWND progress_;
};

int32_t TodayDayNumber() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char date[16];
    std::snprintf(date, sizeof date, "%02u-%02u-%04u", now.wMonth, now.wDay, now.wYear);
    return DateToDays(date);
}

void EnableRunControls(HWND purgeDialog, BOOL enable) {
    for (const int id : {IDC_PURGE_CANCEL, IDC_PURGE_GO, IDC_PURGE_DAYS}) {
        EnableWindow(GetDlgItem(purgeDialog, id), enable);
    }
}

// The days back typed in, or 0 after telling the user why they cannot be used.
int32_t AcceptedDaysBack(HWND purgeDialog, int32_t today) {
    char text[64] = "";
    GetDlgItemTextA(purgeDialog, IDC_PURGE_DAYS, text, sizeof text);
    const int32_t daysBack = DaysBackFromText(text);
    switch (CheckDaysBack(daysBack, today)) {
    case DaysBackCheck::TooFew:
        TuneMessage(purgeDialog, "Days Must Be Greater than 30!", "Error!", MB_ICONEXCLAMATION);
        return 0;
    case DaysBackCheck::TooMany:
        TuneMessage(purgeDialog, "Too Many Days Back!", "Error!", MB_ICONEXCLAMATION);
        return 0;
    case DaysBackCheck::Accepted:
        break;
    }
    return daysBack;
}

// From the disabling of the controls to their enabling again, every way through ends with the
// file closed, the progress window gone and the count shown.
void RunPurge(HWND purgeDialog, int32_t handle, int32_t cutoffDay) {
    CallBusy busy;
    EnableRunControls(purgeDialog, FALSE);
    HWND progress = CreatePurgeProgress(purgeDialog);
    ShowWindow(progress, SW_SHOW);
    for (int i = 0; i < 3; ++i) {
        HandlePendingMessages();
    }
    CallLogRecords records(handle, progress);
    const PurgeResult result = PurgeOldRecords(records, cutoffDay);
    if (!result.errorText.empty()) {
        TuneMessage(purgeDialog, result.errorText.c_str(), result.errorCaption.c_str(),
                    MB_ICONERROR);
    }
    kf_Close(&handle);
    DestroyWindow(progress);
    TuneMessage(purgeDialog, (std::to_string(result.deleted) + " records deleted!").c_str(),
                "Done!", 0);
    EnableRunControls(purgeDialog, TRUE);
}

} // namespace

void PurgeLog(HWND purgeDialog) {
    const std::string path = g_ringtune.programDir + CALL_LOG_FILE;
    if (!Exist(path.c_str())) {
        TuneMessage(purgeDialog, "No Log File To Purge", "File Not Found!", MB_ICONEXCLAMATION);
        return;
    }
    const int32_t today = TodayDayNumber();
    const int32_t daysBack = AcceptedDaysBack(purgeDialog, today);
    if (daysBack == 0) {
        return;
    }
    const int32_t mode = KF_MODE_UPDATE;
    int32_t handle = kf_Open(path.c_str(), &mode);
    if (handle < 1) {
        TuneMessage(purgeDialog, "Error Opening File!", "KF Error!", MB_ICONERROR);
        return;
    }
    if (kf_Count(&handle) < 1) {
        TuneMessage(purgeDialog, "No Records to Process", "Bad Count!", MB_ICONERROR);
        kf_Close(&handle);
        return;
    }
    RunPurge(purgeDialog, handle, today - daysBack);
}
