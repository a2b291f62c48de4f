// The pass against a log and a server held in memory: every record arrives once whatever fails
// when, the clock moves, or the site purges.
#include "sync_pass.h"

#include "record_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <set>

namespace {

const int32_t TODAY = 46000;

CallLogRecord Call(int32_t day, int32_t seconds, const std::string &number, int16_t line = 1) {
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Day = day;
    rec.Seconds = seconds;
    PutTextPadded(rec.Number, number);
    PutTextNul(rec.Name, "Caller " + number);
    rec.Line = line;
    rec.Direction = 'I';
    rec.Status = LOG_STATUS_AT_START;
    return rec;
}

uint64_t KeyOf(const CallLogRecord &rec) {
    return LogKeyOf(rec.Day, rec.Seconds);
}

// Key 1 order, equal keys in the order of insertion, as the record manager keeps them.
class MemoryLog : public CallLogSource {
  public:
    void Insert(const CallLogRecord &rec) {
        auto at = std::upper_bound(
            records.begin(), records.end(), rec,
            [](const CallLogRecord &a, const CallLogRecord &b) { return KeyOf(a) < KeyOf(b); });
        records.insert(at, rec);
    }
    void PurgeBefore(int32_t day) {
        records.erase(std::remove_if(records.begin(), records.end(),
                                     [day](const CallLogRecord &r) { return r.Day < day; }),
                      records.end());
    }
    bool Exists(const std::string &) override { return exists; }
    int32_t Open(const std::string &) override { return openResult; }
    int32_t Count(int32_t) override { return static_cast<int32_t>(records.size()); }
    int32_t ReadFirst(int32_t, const uint8_t (&key)[8], CallLogRecord &rec) override {
        uint64_t wanted = 0;
        for (int i = 7; i >= 0; --i)
            wanted = (wanted << 8) | key[i];
        for (next_ = 0; next_ < records.size() && KeyOf(records[next_]) < wanted; ++next_) {
        }
        return ReadNext(1, rec);
    }
    int32_t ReadNext(int32_t, CallLogRecord &rec) override {
        if (next_ == failAt)
            return 2;
        if (next_ >= records.size())
            return 9;
        rec = records[next_++];
        return 0;
    }
    void Close(int32_t) override {}

    std::vector<CallLogRecord> records;
    bool exists = true;
    int32_t openResult = 1;
    size_t failAt = SIZE_MAX;

  private:
    size_t next_ = 0;
};

// Rows kept by their identity, as the unique constraint keeps them.
class MemoryServer : public SyncServer {
  public:
    bool Connect() override { return Fails("could not connect to server: Connection refused"); }
    bool ClaimSite(const std::string &site, const std::string &installation, bool &taken) override {
        auto claim = claims.emplace(site, installation).first;
        taken = claim->second != installation;
        return true;
    }
    bool LastKey(const std::string &, int32_t &day, int32_t &seconds) override {
        uint64_t last = 0;
        for (const auto &row : rows)
            last = std::max(last, KeyOf(RecordOf(row)));
        day = static_cast<int32_t>(last >> 32);
        seconds = static_cast<int32_t>(last & 0xFFFFFFFF);
        return true;
    }
    bool DayCounts(const std::string &, int32_t fromDay,
                   std::map<int32_t, int64_t> &counts) override {
        counts.clear();
        for (const auto &row : rows)
            if (DayOf(row) >= fromDay)
                ++counts[DayOf(row)];
        return true;
    }
    bool SendRows(const std::string &, const std::vector<CallRow> &batch,
                  int64_t &stored) override {
        ++batches;
        if (batches == failBatch)
            return Fails("server closed the connection unexpectedly") && false;
        stored = 0;
        for (const CallRow &row : batch)
            stored += rows.insert({row.Record, row.Occurrence}).second ? 1 : 0;
        return true;
    }
    bool SiteTotal(const std::string &, int64_t &total) override {
        total = static_cast<int64_t>(rows.size());
        return true;
    }
    std::string Error() const override { return error; }

    std::set<std::pair<std::string, int32_t>> rows;
    std::map<std::string, std::string> claims;
    bool down = false;
    int batches = 0, failBatch = 0;
    std::string error;

  private:
    static CallLogRecord RecordOf(const std::pair<std::string, int32_t> &row) {
        CallLogRecord rec;
        std::memcpy(&rec, row.first.data(), sizeof rec);
        return rec;
    }
    static int32_t DayOf(const std::pair<std::string, int32_t> &row) { return RecordOf(row).Day; }
    bool Fails(const char *message) {
        error = down ? message : "";
        return !down;
    }
};

PassOutcome Pass(MemoryLog &log, MemoryServer &server, bool everyDay = false,
                 const std::string &installation = "id-1") {
    PassRequest request;
    request.Site = "store17";
    request.Installation = installation;
    request.LogPath = "C:\\POS\\DATA\\QuorlLog.OV5";
    request.Today = TODAY;
    request.EveryDay = everyDay;
    return RunSyncPass(log, server, request);
}

// Every record of the log at the server exactly once, twins by their occurrence.
void ExpectServerHoldsLog(const MemoryLog &log, const MemoryServer &server) {
    std::map<std::string, int32_t> seen;
    std::set<std::pair<std::string, int32_t>> expected;
    for (const CallLogRecord &rec : log.records) {
        std::string bytes(reinterpret_cast<const char *>(&rec), sizeof rec);
        expected.insert({bytes, seen[bytes]++});
    }
    for (const auto &identity : expected)
        EXPECT_EQ(1u, server.rows.count(identity));
}

void Fill(MemoryLog &log, int32_t firstDay, int32_t days, int perDay) {
    for (int32_t d = firstDay; d < firstDay + days; ++d)
        for (int i = 0; i < perDay; ++i)
            log.Insert(Call(d, 36000 + 60 * i, "555000" + std::to_string(i % 10)));
}

} // namespace

TEST(SyncPass, ComparesTheLastSevenDaysAndEverythingFromTheServersNewestDay) {
    const struct {
        bool EveryDay;
        int32_t ServerLastDay, Expected;
    } cases[] = {{true, TODAY, 0},
                 {false, 0, 0},
                 {false, TODAY, TODAY - 6},
                 {false, TODAY - 30, TODAY - 30},
                 {false, TODAY + 5, TODAY - 6}};
    for (const auto &c : cases)
        EXPECT_EQ(c.Expected, FirstDayToCompare(c.EveryDay, c.ServerLastDay, TODAY))
            << c.ServerLastDay;
}

TEST(SyncPass, SendsEachRecordOnceAndAfterwardsOnlyNewOnes) {
    MemoryLog log;
    MemoryServer server;
    Fill(log, TODAY - 20, 20, 40);
    PassOutcome first = Pass(log, server);
    ASSERT_TRUE(first.Ok) << first.Error;
    EXPECT_EQ(800, first.Sent);
    EXPECT_EQ(800, first.Total);
    EXPECT_EQ(2, server.batches);

    EXPECT_EQ(0, Pass(log, server).Sent);
    // A second call in the minute of the last one sent, and an identical twin of it.
    const CallLogRecord last = log.records.back();
    log.Insert(Call(last.Day, last.Seconds, "5559999"));
    log.Insert(last);
    log.Insert(Call(TODAY, 80000, "5558888"));
    PassOutcome next = Pass(log, server);
    ASSERT_TRUE(next.Ok) << next.Error;
    EXPECT_EQ(3, next.Sent);
    EXPECT_EQ(803, next.Total);
    ExpectServerHoldsLog(log, server);
}

TEST(SyncPass, HealsACutConnectionAndClockChangesWithoutDoubling) {
    MemoryLog log;
    MemoryServer server;
    Fill(log, TODAY - 3, 4, 300);
    server.failBatch = 2;
    PassOutcome cut = Pass(log, server);
    EXPECT_FALSE(cut.Ok);
    EXPECT_EQ(500, cut.Sent);
    EXPECT_EQ("the head-office database refused or lost the work: ", cut.Error.substr(0, 52));
    ASSERT_TRUE(Pass(log, server).Ok);
    EXPECT_EQ(1200u, server.rows.size());

    // Clock set forward a day, then back: tomorrow's calls went first, today's come after.
    log.Insert(Call(TODAY + 1, 600, "5551111"));
    ASSERT_TRUE(Pass(log, server).Ok);
    log.Insert(Call(TODAY - 1, 86340, "5552222"));
    log.Insert(Call(TODAY, 300, "5553333"));
    PassOutcome healed = Pass(log, server);
    ASSERT_TRUE(healed.Ok);
    EXPECT_EQ(2, healed.Sent);
    ExpectServerHoldsLog(log, server);
}

TEST(SyncPass, LeavesOldDaysToTheHourlyCompareAndKeepsWhatTheSitePurged) {
    MemoryLog log;
    MemoryServer server;
    Fill(log, TODAY - 60, 61, 5);
    ASSERT_TRUE(Pass(log, server).Ok);
    // A record of an old day that a failed pass once lost: only the whole compare sees it.
    const auto lost = std::make_pair(
        std::string(reinterpret_cast<const char *>(&log.records[3]), sizeof log.records[3]), 0);
    server.rows.erase(lost);
    EXPECT_EQ(0, Pass(log, server).Sent);
    EXPECT_EQ(1, Pass(log, server, true).Sent);

    log.PurgeBefore(TODAY - 30);
    PassOutcome purged = Pass(log, server, true);
    ASSERT_TRUE(purged.Ok);
    EXPECT_EQ(0, purged.Sent);
    EXPECT_EQ(305, purged.Total);

    // A log begun again today (a new PC): the day holds fewer records than the server, yet a
    // call after the newest one sent goes.
    log.records.clear();
    log.Insert(Call(TODAY, 86000, "5554444"));
    PassOutcome restarted = Pass(log, server, true);
    ASSERT_TRUE(restarted.Ok);
    EXPECT_EQ(1, restarted.Sent);
}

TEST(SyncPass, ReportsWhatStoodInTheWay) {
    MemoryLog log;
    Fill(log, TODAY, 1, 3);
    {
        MemoryServer server;
        server.down = true;
        EXPECT_EQ("cannot connect to the head-office database: could not connect to server: "
                  "Connection refused",
                  Pass(log, server).Error);
    }
    {
        MemoryServer server;
        ASSERT_TRUE(Pass(log, server).Ok);
        PassOutcome other = Pass(log, server, false, "id-2");
        EXPECT_FALSE(other.Ok);
        EXPECT_NE(std::string::npos, other.Error.find("belongs to another installation"));
    }
    {
        MemoryServer server;
        log.failAt = 2;
        PassOutcome damaged = Pass(log, server);
        EXPECT_FALSE(damaged.Ok);
        EXPECT_EQ("cannot read the call log DATA\\QuorlLog.OV5 (record manager status 2)",
                  damaged.Error);
        log.failAt = SIZE_MAX;
        log.openResult = -15;
        PassOutcome locked = Pass(log, server);
        EXPECT_FALSE(locked.Ok);
        EXPECT_EQ(0u, locked.Error.find("cannot open the call log DATA\\QuorlLog.OV5: another "
                                        "program holds it locked"));
        log.openResult = -2;
        EXPECT_EQ("cannot open the call log DATA\\QuorlLog.OV5 (record manager status 2)",
                  Pass(log, server).Error);
        log.openResult = 1;
        PassOutcome after = Pass(log, server);
        EXPECT_TRUE(after.Ok) << "the pass after the lock completes";
        EXPECT_EQ(3, after.Total);
        log.exists = false;
        EXPECT_EQ(0u, Pass(log, server)
                          .Error.find("the call log DATA\\QuorlLog.OV5 does not "
                                      "exist"));
    }
}
