// The purge scan over a scripted record source: what it deletes, where it stops, and the
// message each failure gives.
#include "purge_scan.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

// A call log in key-1 order. A get-next after a delete continues with the record that followed
// the deleted one, as the record manager does. Statuses can be forced for one read or delete.
class FakeLog : public PurgeRecords {
  public:
    explicit FakeLog(std::vector<int32_t> days) : days_(std::move(days)) {}

    int32_t ReadFirst(CallLogRecord &record) override {
        ++reads;
        next_ = 0;
        return Read(record);
    }
    int32_t ReadNext(CallLogRecord &record) override {
        ++reads;
        return Read(record);
    }
    int32_t DeleteLastRead() override {
        auto forced = deleteStatus.find(deletes++);
        if (forced != deleteStatus.end()) {
            return forced->second;
        }
        days_.erase(days_.begin() + static_cast<long>(--next_));
        return 0;
    }
    void Deleted(int32_t count) override { progress.push_back(count); }

    std::vector<int32_t> Days() const { return days_; }

    std::map<int, int32_t> readStatus;   // by read number, from 0
    std::map<int, int32_t> deleteStatus; // by delete attempt, from 0
    int reads = 0;
    int deletes = 0;
    std::vector<int32_t> progress;

  private:
    int32_t Read(CallLogRecord &record) {
        auto forced = readStatus.find(reads - 1);
        if (forced != readStatus.end()) {
            return forced->second;
        }
        if (next_ >= days_.size()) {
            return 9;
        }
        record = CallLogRecord{};
        record.Day = days_[next_++];
        return 0;
    }
    std::vector<int32_t> days_;
    size_t next_ = 0;
};

} // namespace

TEST(DaysBack, LeadingNumberAndLimits) {
    struct Case {
        const char *text;
        int32_t days;
        DaysBackCheck check; // with today's day number 1000
    } cases[] = {
        {"30", 30, DaysBackCheck::TooFew},
        {"31", 31, DaysBackCheck::Accepted},
        {"abc", 0, DaysBackCheck::TooFew},
        {"", 0, DaysBackCheck::TooFew},
        {"  45 days", 45, DaysBackCheck::Accepted},
        {"-40", 0, DaysBackCheck::TooFew},
        {"999", 999, DaysBackCheck::Accepted},
        {"1000", 1000, DaysBackCheck::TooMany},
        {"99999999999999", 2147483647, DaysBackCheck::TooMany},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(DaysBackFromText(c.text), c.days) << c.text;
        EXPECT_EQ(CheckDaysBack(DaysBackFromText(c.text), 1000), c.check) << c.text;
    }
}

TEST(PurgeScan, DeletesUpToTheCutOffAndStopsAtTheFirstNewer) {
    struct Case {
        const char *name;
        std::vector<int32_t> days;
        int32_t deleted;
        std::vector<int32_t> left;
        int reads; // the scan never looks past the first newer record
    } cases[] = {
        {"cut-off day itself goes", {98, 99, 100, 100, 101, 102}, 4, {101, 102}, 5},
        {"nothing old enough", {101, 150}, 0, {101, 150}, 1},
        {"everything old: ends on status 9", {10, 20, 30}, 3, {}, 4},
        {"empty log", {}, 0, {}, 1},
    };
    for (const Case &c : cases) {
        FakeLog log(c.days);
        const PurgeResult result = PurgeOldRecords(log, 100);
        EXPECT_EQ(result.deleted, c.deleted) << c.name;
        EXPECT_EQ(result.errorText, "") << c.name;
        EXPECT_EQ(log.Days(), c.left) << c.name;
        EXPECT_EQ(log.reads, c.reads) << c.name;
        EXPECT_EQ(log.progress.size(), size_t(c.deleted)) << c.name;
    }
}

TEST(PurgeScan, FailuresEndTheScanWithTheirMessage) {
    struct Case {
        const char *name;
        std::map<int, int32_t> readStatus;
        std::map<int, int32_t> deleteStatus;
        int32_t deleted;
        const char *text;
        const char *caption;
    } cases[] = {
        {"end status 8 is no failure", {{1, 8}}, {}, 1, "", ""},
        {"read fails on the first record", {{0, 2}}, {}, 0, "Unexpected Error 2", "KF_Get Error!"},
        {"read fails later", {{2, 18}}, {}, 2, "Unexpected Error 18", "KF_Get Error!"},
        {"busy file on delete", {}, {{1, 18}}, 1, "Unexpected Error 18", "KF_Delete Error!"},
        {"negative delete status shown positive",
         {},
         {{0, -16}},
         0,
         "Unexpected Error 16",
         "KF_Delete Error!"},
    };
    for (const Case &c : cases) {
        FakeLog log({1, 2, 3, 4});
        log.readStatus = c.readStatus;
        log.deleteStatus = c.deleteStatus;
        const PurgeResult result = PurgeOldRecords(log, 100);
        EXPECT_EQ(result.deleted, c.deleted) << c.name;
        EXPECT_EQ(result.errorText, c.text) << c.name;
        EXPECT_EQ(result.errorCaption, c.caption) << c.name;
    }
}
