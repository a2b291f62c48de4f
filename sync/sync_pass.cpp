// The pass: claim, compare per day, send what the server lacks in batches.
#include "sync_pass.h"

#include "record_text.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

const int32_t LAST_DAY_NUMBER = 2958464;

bool IsDayNumber(int32_t day) {
    return day >= 1 && day <= LAST_DAY_NUMBER;
}

std::string KeyfileStatusText(int32_t status) {
    return "(record manager status " + Decimal(status < 0 ? -status : status) + ")";
}

// The record manager's answer when a file that exists may not be opened.
const int32_t STATUS_CANNOT_OPEN = 15;

// Past the existence check, the one common reason an open fails is another program holding the
// file without sharing it (a backup, a copy, a repair tool): a technician should hear that, and
// that waiting is enough.
std::string OpenFailure(int32_t handle) {
    const int32_t status = handle < 0 ? -handle : handle;
    if (status == STATUS_CANNOT_OPEN)
        return "cannot open the call log DATA\\QuorlLog.OV5: another program holds it locked (a "
               "backup or a copy?) or this user may not read it; the next pass tries again " +
               KeyfileStatusText(handle);
    return "cannot open the call log DATA\\QuorlLog.OV5 " + KeyfileStatusText(handle);
}

// Collects the log's records one day at a time and queues the days the server lacks records
// of, sending a batch whenever enough rows are queued.
// Whatever a day's counts say, records at or after the newest key the server holds are sent: a
// second call in the minute of the last one sent may have been logged after that pass.
class DaySender {
  public:
    DaySender(SyncServer &server, const PassRequest &request,
              const std::map<int32_t, int64_t> &serverCounts, uint64_t resumeKey)
        : server_(server), request_(request), serverCounts_(serverCounts), resumeKey_(resumeKey) {}

    bool Add(const CallLogRecord &rec) {
        if (!day_.empty() && rec.Day != day_.front().Day && !FinishDay())
            return false;
        day_.push_back(rec);
        return true;
    }

    bool Finish() { return FinishDay() && SendQueued(true); }
    int64_t Sent() const { return sent_; }
    bool Stopped() const { return stopped_; }

  private:
    bool ServerLacksDay(int32_t day, size_t siteCount) const {
        // Records without a valid date cannot be counted per date at the server: always sent
        // again, which the server ignores.
        if (!IsDayNumber(day))
            return true;
        auto found = serverCounts_.find(day);
        return found == serverCounts_.end() || found->second < static_cast<int64_t>(siteCount);
    }

    // The day's records in key order; identical records share their key, so each one's place
    // among its twins is counted within its run of equal times.
    void QueueDay(bool whole) {
        std::map<std::string, int32_t> twins;
        int32_t seconds = day_.front().Seconds;
        for (const CallLogRecord &rec : day_) {
            if (rec.Seconds != seconds) {
                twins.clear();
                seconds = rec.Seconds;
            }
            std::string bytes(reinterpret_cast<const char *>(&rec), sizeof rec);
            const int32_t occurrence = twins[bytes]++;
            if (whole || LogKeyOf(rec.Day, rec.Seconds) >= resumeKey_)
                queued_.push_back(RowOfRecord(rec, occurrence));
        }
    }

    bool FinishDay() {
        if (day_.empty())
            return true;
        const CallLogRecord &last = day_.back();
        const bool whole = ServerLacksDay(day_.front().Day, day_.size());
        if (whole || LogKeyOf(last.Day, last.Seconds) >= resumeKey_)
            QueueDay(whole);
        day_.clear();
        return SendQueued(false);
    }

    // Full batches, and with `all` the rest too; what is left waits for more rows.
    bool SendQueued(bool all) {
        size_t start = 0;
        for (; start < queued_.size(); start += SYNC_BATCH_ROWS) {
            if (!all && queued_.size() - start < SYNC_BATCH_ROWS)
                break;
            if (request_.StopRequested && request_.StopRequested()) {
                stopped_ = true;
                return false;
            }
            const size_t end = std::min(queued_.size(), start + SYNC_BATCH_ROWS);
            std::vector<CallRow> batch(queued_.begin() + start, queued_.begin() + end);
            int64_t stored = 0;
            if (!server_.SendRows(request_.Site, batch, stored))
                return false;
            sent_ += stored;
        }
        queued_.erase(queued_.begin(), queued_.begin() + std::min(start, queued_.size()));
        return true;
    }

    SyncServer &server_;
    const PassRequest &request_;
    const std::map<int32_t, int64_t> &serverCounts_;
    const uint64_t resumeKey_;
    std::vector<CallLogRecord> day_;
    std::vector<CallRow> queued_;
    int64_t sent_ = 0;
    bool stopped_ = false;
};

PassOutcome Failed(const std::string &error, int64_t sent = 0) {
    PassOutcome outcome;
    outcome.Error = error;
    outcome.Sent = sent;
    return outcome;
}

std::string ServerFailure(const SyncServer &server) {
    return "the head-office database refused or lost the work: " + server.Error();
}

// Scans the log from the first record of `firstDay` to its end through the sender.
int32_t ScanLog(CallLogSource &log, int32_t handle, int32_t firstDay, DaySender &sender,
                bool &sendFailed) {
    uint8_t key[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    const uint32_t day = static_cast<uint32_t>(firstDay);
    for (int i = 0; i < 4; ++i)
        key[4 + i] = static_cast<uint8_t>(day >> (8 * i));
    CallLogRecord rec;
    int32_t status = log.ReadFirst(handle, key, rec);
    sendFailed = false;
    while (status == 0) {
        if (!sender.Add(rec)) {
            sendFailed = true;
            return 0;
        }
        status = log.ReadNext(handle, rec);
    }
    return status;
}

} // namespace

uint64_t LogKeyOf(int32_t day, int32_t seconds) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(day)) << 32) |
           static_cast<uint32_t>(seconds);
}

int32_t FirstDayToCompare(bool everyDay, int32_t serverLastDay, int32_t today) {
    if (everyDay || serverLastDay < 1)
        return 0;
    return std::max(0, std::min(serverLastDay, today - (SYNC_RECENT_DAYS - 1)));
}

PassOutcome RunSyncPass(CallLogSource &log, SyncServer &server, const PassRequest &request) {
    if (!log.Exists(request.LogPath))
        return Failed("the call log DATA\\QuorlLog.OV5 does not exist (is call logging on?)");
    if (!server.Connect())
        return Failed("cannot connect to the head-office database: " + server.Error());
    bool taken = false;
    if (!server.ClaimSite(request.Site, request.Installation, taken))
        return Failed(ServerFailure(server));
    if (taken)
        return Failed("the site name " + request.Site +
                      " belongs to another installation at the head office: give this site a "
                      "Site of its own in POSOvena.INI");
    int32_t lastDay = 0, lastSeconds = 0;
    std::map<int32_t, int64_t> counts;
    if (!server.LastKey(request.Site, lastDay, lastSeconds))
        return Failed(ServerFailure(server));
    const int32_t firstDay = FirstDayToCompare(request.EveryDay, lastDay, request.Today);
    if (!server.DayCounts(request.Site, firstDay, counts))
        return Failed(ServerFailure(server));

    const int32_t handle = log.Open(request.LogPath);
    if (handle < 1)
        return Failed(OpenFailure(handle));
    // With nothing at the server every day is sent whole anyway.
    const uint64_t resumeKey = lastDay < 1 ? UINT64_MAX : LogKeyOf(lastDay, lastSeconds);
    DaySender sender(server, request, counts, resumeKey);
    bool sendFailed = false;
    const int32_t status = ScanLog(log, handle, firstDay, sender, sendFailed);
    log.Close(handle);
    const auto sendFailure = [&] {
        return Failed(sender.Stopped() ? "stopped before the pass was done" : ServerFailure(server),
                      sender.Sent());
    };
    if (sendFailed)
        return sendFailure();
    if (!CallLogSource::AtEnd(status))
        return Failed("cannot read the call log DATA\\QuorlLog.OV5 " + KeyfileStatusText(status),
                      sender.Sent());
    if (!sender.Finish())
        return sendFailure();
    PassOutcome outcome;
    outcome.Sent = sender.Sent();
    if (!server.SiteTotal(request.Site, outcome.Total))
        return Failed(ServerFailure(server), outcome.Sent);
    outcome.Ok = true;
    return outcome;
}
