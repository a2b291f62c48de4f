// One pass of the sync: the site's call log compared day by day with what the head-office
// database holds for the site, and every day the server lacks records of sent again whole. The
// server ignores rows it holds already, so a day sent twice is stored once.
#pragma once
#include "call_log_source.h"
#include "sync_rows.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

// The head-office database as a pass uses it. Every call returns false on failure, with
// Error() saying what the driver said.
class SyncServer {
  public:
    virtual ~SyncServer() = default;
    virtual bool Connect() = 0;
    // Claims the site's name for this installation, or finds it claimed by this one already;
    // `taken` tells that another installation holds it.
    virtual bool ClaimSite(const std::string &site, const std::string &installation,
                           bool &taken) = 0;
    // The key (day number, seconds) of the newest record the server holds for the site; day 0
    // when it holds none.
    virtual bool LastKey(const std::string &site, int32_t &day, int32_t &seconds) = 0;
    // Records per day number the server holds for the site, from `fromDay` on.
    virtual bool DayCounts(const std::string &site, int32_t fromDay,
                           std::map<int32_t, int64_t> &counts) = 0;
    // Stores the rows in one transaction; `stored` is how many were new.
    virtual bool SendRows(const std::string &site, const std::vector<CallRow> &rows,
                          int64_t &stored) = 0;
    virtual bool SiteTotal(const std::string &site, int64_t &total) = 0;
    virtual std::string Error() const = 0;
};

struct PassRequest {
    std::string Site, Installation;
    std::string LogPath; // full path of DATA\QuorlLog.OV5
    int32_t Today = 0;   // day number of the site's date
    // Compare every day of the log, not only the last 7 and those after the server's newest.
    bool EveryDay = false;
    std::function<bool()> StopRequested; // may be empty
};

struct PassOutcome {
    bool Ok = false;
    int64_t Sent = 0, Total = 0;
    std::string Error; // for the technician, "" when Ok
};

// Rows per INSERT and transaction: a cut connection loses at most one batch, which the next
// pass sends again.
const size_t SYNC_BATCH_ROWS = 500;
// Days before today compared in every pass.
const int32_t SYNC_RECENT_DAYS = 7;

// Key 1 of the call log: day, then time of day, as one unsigned number.
uint64_t LogKeyOf(int32_t day, int32_t seconds);

// The first day a pass compares: every day when asked or when the server holds nothing of
// the site, otherwise the last 7 days and anything from the server's newest day on.
int32_t FirstDayToCompare(bool everyDay, int32_t serverLastDay, int32_t today);

PassOutcome RunSyncPass(CallLogSource &log, SyncServer &server, const PassRequest &request);
