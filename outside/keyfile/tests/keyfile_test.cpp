// Record manager semantics through its exported calls: creation, key orders, duplicates,
// positioning, scans across deletes and changes through another handle, read-only handles.
#include "keyfile_fixture.h"
#include "record_store.h"
#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sqlite3.h>
#include <thread>

namespace fs = std::filesystem;

namespace {

class KeyfileTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = ScratchFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
        log_ = dir_ / "calls.OV5";
    }
    void TearDown() override {
        kf_CloseAll();
        fs::remove_all(dir_);
    }

    // A call log opened in mode 1 holding `calls` in that insertion order.
    int32_t CallLog(const std::vector<CallLogRecord> &calls) {
        EXPECT_EQ(Create(log_, CallLogDefinition()), KF_OK);
        const int32_t h = Open(log_, KF_MODE_UPDATE);
        EXPECT_GE(h, 1);
        for (const CallLogRecord &c : calls)
            EXPECT_EQ(Insert(h, &c, sizeof c), KF_OK);
        return h;
    }

    // Tags of the records a scan returns: the first read `op`, then get-next up to the end.
    static std::vector<std::string> Scan(int32_t h, int32_t op, int32_t keyNumber,
                                         const std::vector<uint8_t> &key = {}) {
        std::vector<std::string> tags;
        CallLogRecord r;
        int32_t status = Read(op, h, &r, sizeof r, key.empty() ? nullptr : key.data(),
                              static_cast<int32_t>(key.size()), keyNumber);
        while (status == KF_OK) {
            tags.emplace_back(r.Name);
            status = Read(KF_GET_NEXT, h, &r, sizeof r);
        }
        EXPECT_EQ(status, KF_END);
        return tags;
    }

    fs::path dir_;
    fs::path log_;
};

using Tags = std::vector<std::string>;

TEST_F(KeyfileTest, CreateRefusesAnExistingFileAndLeavesItIntact) {
    const fs::path other = dir_ / "other.txt";
    std::ofstream(other, std::ios::binary) << "not ours";
    EXPECT_EQ(Create(other, CallLogDefinition()), KF_FILE_EXISTS);
    std::ifstream in(other, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not ours");

    const int32_t h = CallLog({Call(100, 60, "5551234", 'I', "kept")});
    EXPECT_EQ(Create(log_, CallLogDefinition()), KF_FILE_EXISTS);
    EXPECT_EQ(Create(log_, ExclDefinition()), KF_FILE_EXISTS);
    EXPECT_EQ(kf_Count(&h), 1);
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 1), Tags{"kept"});
}

TEST_F(KeyfileTest, CreateRefusesDefinitionsItCannotHonour) {
    struct Case {
        const char *what;
        std::vector<uint8_t> definition;
    };
    const Case cases[] = {
        {"unknown format", Definition(2, 0, {{"A", 1, 1, 4, 0}})},
        {"no segments", Definition(1, 0, {})},
        {"reserved flag bit", Definition(1, 0, {{"A", 1, 1, 4, 0x01}})},
        {"high flag bit", Definition(1, 0, {{"A", 1, 1, 4, 0x10}})},
        {"integer of 4 bytes", Definition(1, 0, {{"A", 1, 1, 4, 8}})},
        {"integer and binary", Definition(1, 0, {{"A", 1, 1, 8, 12}})},
        {"first key is 2", Definition(1, 0, {{"A", 2, 1, 4, 0}})},
        {"key number gap", Definition(1, 0, {{"A", 1, 1, 4, 0}, {"B", 3, 5, 4, 0}})},
        {"key 0", Definition(1, 0, {{"A", 0, 1, 4, 0}})},
        {"offset 0", Definition(1, 0, {{"A", 1, 0, 4, 0}})},
        {"length 0", Definition(1, 0, {{"A", 1, 1, 0, 0}})},
        {"segments disagree on duplicates",
         Definition(1, 0, {{"A", 1, 1, 4, 2}, {"A2", 1, 5, 4, 0}})},
    };
    for (const Case &c : cases) {
        const fs::path path = dir_ / "bad.kf";
        EXPECT_EQ(Create(path, c.definition), KF_BAD_DEFINITION) << c.what;
        EXPECT_FALSE(fs::exists(path)) << c.what;
    }
    const int32_t zero = 0;
    EXPECT_EQ(kf_Create((dir_ / "x").string().c_str(), nullptr, &zero), KF_BAD_DEFINITION);
    EXPECT_EQ(kf_Create(nullptr, ExclDefinition().data(), nullptr), KF_BAD_ARGUMENT);
}

TEST_F(KeyfileTest, OpenReportsFailuresAsNegativeStatuses) {
    const fs::path text = dir_ / "text.OV5";
    std::ofstream(text, std::ios::binary) << std::string(4096, 'x');
    ASSERT_EQ(Create(log_, CallLogDefinition()), KF_OK);
    EXPECT_EQ(Open(dir_ / "missing.OV5", KF_MODE_UPDATE), -KF_CANNOT_OPEN);
    EXPECT_FALSE(fs::exists(dir_ / "missing.OV5"));
    EXPECT_EQ(Open(text, KF_MODE_READ), -KF_NOT_RECORD_FILE);
    EXPECT_EQ(Open(log_, 3), -KF_BAD_MODE);
    EXPECT_EQ(kf_Open(log_.string().c_str(), nullptr), -KF_BAD_MODE);
    EXPECT_EQ(kf_Open(nullptr, nullptr), -KF_BAD_MODE);

    const int32_t a = Open(log_, KF_MODE_UPDATE);
    const int32_t b = Open(log_, KF_MODE_READ);
    EXPECT_GE(a, 1);
    EXPECT_GE(b, 1);
    EXPECT_NE(a, b);
    EXPECT_EQ(kf_Close(&a), KF_OK);
    EXPECT_EQ(kf_Close(&a), KF_NOT_OPEN);
    EXPECT_EQ(kf_Count(&a), -KF_NOT_OPEN);
    // A closed handle is not handed out again at once.
    const int32_t c = Open(log_, KF_MODE_UPDATE);
    EXPECT_NE(c, a);
    EXPECT_EQ(kf_CloseAll(), KF_OK);
    EXPECT_EQ(kf_Count(&b), -KF_NOT_OPEN);
    EXPECT_EQ(kf_Count(&c), -KF_NOT_OPEN);
}

TEST_F(KeyfileTest, KeyOneOrdersByDayThenTimeAsUnsigned64) {
    // Inserted out of order; the names say where each belongs.
    const int32_t h = CallLog({
        Call(0x80000000u, 0, "1", 'I', "5 day with high bit"),
        Call(45000, 86340, "1", 'I', "2 late on day 45000"),
        Call(45001, 0, "1", 'I', "3 midnight of the day after"),
        Call(0, 0, "1", 'I', "0 no date"),
        Call(45000, 300, "1", 'I', "1 early on day 45000"),
        Call(0xFFFFFFFFu, 0xFFFFFFFFu, "1", 'I', "6 largest"),
        Call(45001, 0x80000000u, "1", 'I', "4 time with high bit"),
    });
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 1),
              (Tags{"0 no date", "1 early on day 45000", "2 late on day 45000",
                    "3 midnight of the day after", "4 time with high bit", "5 day with high bit",
                    "6 largest"}));
}

TEST_F(KeyfileTest, ByteKeysOrderAsBytesWithDuplicatesInInsertionOrder) {
    const int32_t h = CallLog({
        Call(1, 60, "5551234", 'O', "a"),
        Call(1, 120, "PRIVATE", 'I', "b"),
        Call(2, 60, "5551234", 'I', "c"),
        Call(1, 60, "123", 'I', "d"),
        Call(1, 60, "5551234", 'O', "e"),
    });
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 2), (Tags{"d", "a", "c", "e", "b"}));
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 3), (Tags{"b", "c", "d", "a", "e"}));
    // Equal key 1 (day 1, 60 s): insertion order a, d, e.
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 1), (Tags{"a", "d", "e", "b", "c"}));
}

TEST_F(KeyfileTest, PositioningReadsFindTheFirstOfEqualKeys) {
    const int32_t h = CallLog({
        Call(10, 60, "5551234", 'I', "a"),
        Call(10, 120, "5559999", 'I', "b"),
        Call(10, 120, "5551234", 'I', "c"),
        Call(12, 0, "5550000", 'I', "d"),
    });
    std::string number(20, ' ');
    number.replace(0, 7, "5551234");
    const std::vector<uint8_t> phone(number.begin(), number.end());
    struct Case {
        const char *what;
        int32_t op;
        int32_t keyNumber;
        std::vector<uint8_t> key;
        Tags expected;
    };
    const Case cases[] = {
        {"equal on key 1", KF_GET_EQUAL, 1, TimeKey(10, 120), {"b", "c", "d"}},
        {"equal on key 2", KF_GET_EQUAL, 2, phone, {"a", "c", "b"}},
        {"ge on an exact key", KF_GET_GE, 1, TimeKey(10, 120), {"b", "c", "d"}},
        {"ge between keys", KF_GET_GE, 1, TimeKey(10, 61), {"b", "c", "d"}},
        {"ge across a day", KF_GET_GE, 1, TimeKey(11, 0), {"d"}},
        {"ge before all", KF_GET_GE, 1, TimeKey(0, 0), {"a", "b", "c", "d"}},
        {"ge after all", KF_GET_GE, 1, TimeKey(12, 1), {}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Scan(h, c.op, c.keyNumber, c.key), c.expected) << c.what;

    CallLogRecord r;
    const std::vector<uint8_t> absent = TimeKey(10, 90);
    EXPECT_EQ(Read(KF_GET_EQUAL, h, &r, sizeof r, absent.data(), 8, 1), KF_NOT_FOUND);
    // A failed get-equal leaves no record to continue from or delete.
    EXPECT_EQ(Read(KF_GET_NEXT, h, &r, sizeof r), KF_NO_CURRENT);
    EXPECT_EQ(kf_Delete(&h), KF_NO_CURRENT);
    // Key length 0 means the key's full length; a shorter one is refused.
    EXPECT_EQ(Read(KF_GET_EQUAL, h, &r, sizeof r, phone.data(), 0, 2), KF_OK);
    EXPECT_STREQ(r.Name, "a");
    EXPECT_EQ(Read(KF_GET_EQUAL, h, &r, sizeof r, phone.data(), 7, 2), KF_BAD_ARGUMENT);
    EXPECT_EQ(Read(KF_GET_GE, h, &r, sizeof r, nullptr, 8, 1), KF_BAD_ARGUMENT);
}

TEST_F(KeyfileTest, GetNextAfterDeleteContinuesWithTheFollower) {
    // Every call shares key 1 with another, so deletes land among duplicates too.
    std::vector<CallLogRecord> calls;
    for (int i = 0; i < 12; ++i)
        calls.push_back(Call(20 + static_cast<uint32_t>(i / 2), 60, "1", 'I', std::to_string(i)));
    const int32_t h = CallLog(calls);
    Tags seen;
    CallLogRecord r;
    int32_t status = Read(KF_GET_FIRST, h, &r, sizeof r, nullptr, 0, 1);
    for (int i = 0; status == KF_OK; ++i) {
        seen.emplace_back(r.Name);
        if (i % 3 != 1) {
            EXPECT_EQ(i % 2 ? kf_Delete(&h) : Read(KF_DELETE, h, nullptr, 0), KF_OK) << i;
        }
        status = Read(KF_GET_NEXT, h, &r, sizeof r);
    }
    EXPECT_EQ(status, KF_END);
    EXPECT_EQ(seen, (Tags{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11"}));
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 1), (Tags{"1", "4", "7", "10"}));
    EXPECT_EQ(kf_Count(&h), 4);
}

TEST_F(KeyfileTest, DeleteNeedsARecordJustRead) {
    const int32_t h = CallLog({Call(1, 0, "1", 'I', "a"), Call(2, 0, "1", 'I', "b")});
    CallLogRecord r;
    EXPECT_EQ(kf_Delete(&h), KF_NO_CURRENT);
    EXPECT_EQ(Read(KF_DELETE, h, nullptr, 0), KF_NO_CURRENT);
    ASSERT_EQ(Read(KF_GET_FIRST, h, &r, sizeof r, nullptr, 0, 1), KF_OK);
    EXPECT_EQ(kf_Delete(&h), KF_OK);
    EXPECT_EQ(kf_Delete(&h), KF_NO_CURRENT);
    ASSERT_EQ(Read(KF_GET_NEXT, h, &r, sizeof r), KF_OK);
    EXPECT_STREQ(r.Name, "b");
    EXPECT_EQ(Read(KF_GET_NEXT, h, &r, sizeof r), KF_END);
    // The end of a scan is no record to delete.
    EXPECT_EQ(kf_Delete(&h), KF_NO_CURRENT);
    EXPECT_EQ(kf_Count(&h), 1);
}

TEST_F(KeyfileTest, DeleteOfARecordAnotherHandleDeletedChangesNothing) {
    const int32_t a = CallLog({Call(1, 0, "1", 'I', "a"), Call(2, 0, "1", 'I', "b")});
    const int32_t b = Open(log_, KF_MODE_UPDATE);
    CallLogRecord r;
    ASSERT_EQ(Read(KF_GET_FIRST, a, &r, sizeof r, nullptr, 0, 1), KF_OK);
    ASSERT_EQ(Read(KF_GET_FIRST, b, &r, sizeof r, nullptr, 0, 1), KF_OK);
    ASSERT_EQ(kf_Delete(&b), KF_OK);
    // Insertion numbers are never reused, so a new record cannot take the deleted one's place.
    const CallLogRecord c = Call(1, 0, "1", 'I', "c");
    ASSERT_EQ(Insert(b, &c, sizeof c), KF_OK);
    EXPECT_EQ(kf_Delete(&a), KF_RECORD_GONE);
    EXPECT_EQ(Scan(a, KF_GET_FIRST, 1), (Tags{"c", "b"}));
}

TEST_F(KeyfileTest, ScanSeesChangesMadeThroughAnotherHandle) {
    const int32_t reader = CallLog({Call(1, 0, "1", 'I', "a"), Call(2, 0, "1", 'I', "b"),
                                    Call(3, 0, "1", 'I', "c"), Call(4, 0, "1", 'I', "d")});
    const int32_t writer = Open(log_, KF_MODE_UPDATE);
    CallLogRecord r;
    Tags seen;
    ASSERT_EQ(Read(KF_GET_FIRST, reader, &r, sizeof r, nullptr, 0, 1), KF_OK);
    seen.emplace_back(r.Name);
    ASSERT_EQ(Read(KF_GET_NEXT, reader, &r, sizeof r), KF_OK); // b
    seen.emplace_back(r.Name);
    // The writer removes b (the reader's place) and c, adds one behind the place, one
    // between the place and d, and a duplicate of b's key (after b in insertion order).
    const std::vector<uint8_t> keyB = TimeKey(2, 0), keyC = TimeKey(3, 0);
    for (const auto *key : {&keyB, &keyC}) {
        ASSERT_EQ(Read(KF_GET_EQUAL, writer, &r, sizeof r, key->data(), 8, 1), KF_OK);
        ASSERT_EQ(kf_Delete(&writer), KF_OK);
    }
    for (const CallLogRecord &c : {Call(1, 30, "1", 'I', "behind"), Call(3, 30, "1", 'I', "ahead"),
                                   Call(2, 0, "1", 'I', "same key")})
        ASSERT_EQ(Insert(writer, &c, sizeof c), KF_OK);
    for (int32_t s = Read(KF_GET_NEXT, reader, &r, sizeof r); s == KF_OK;
         s = Read(KF_GET_NEXT, reader, &r, sizeof r))
        seen.emplace_back(r.Name);
    EXPECT_EQ(seen, (Tags{"a", "b", "same key", "ahead", "d"}));
    // At the end the place stays: a record added later is found by the next get-next.
    const CallLogRecord e = Call(5, 0, "1", 'I', "e");
    ASSERT_EQ(Insert(writer, &e, sizeof e), KF_OK);
    ASSERT_EQ(Read(KF_GET_NEXT, reader, &r, sizeof r), KF_OK);
    EXPECT_STREQ(r.Name, "e");
}

TEST_F(KeyfileTest, ReadOnlyHandleRefusesEveryChange) {
    CallLog({Call(1, 0, "1", 'I', "a")});
    const int32_t h = Open(log_, KF_MODE_READ);
    ASSERT_GE(h, 1);
    CallLogRecord r;
    const CallLogRecord b = Call(2, 0, "1", 'I', "b");
    EXPECT_EQ(Insert(h, &b, sizeof b), KF_READ_ONLY);
    ASSERT_EQ(Read(KF_GET_FIRST, h, &r, sizeof r, nullptr, 0, 1), KF_OK);
    EXPECT_EQ(kf_Delete(&h), KF_READ_ONLY);
    EXPECT_EQ(Read(KF_DELETE, h, nullptr, 0), KF_READ_ONLY);
    EXPECT_EQ(kf_Count(&h), 1);
    EXPECT_EQ(Scan(h, KF_GET_FIRST, 1), Tags{"a"});
}

TEST_F(KeyfileTest, ReadOnlyScanKeepsKeyOrderAcrossItsReadAhead) {
    // Inserted out of key order, every key shared, so that duplicates straddle the reads ahead
    // (records 1 to 16, then from 17 on) in each key.
    std::vector<CallLogRecord> calls;
    for (int n = 0; n < 48; ++n) {
        const std::string number = "555" + std::to_string(n * 5 % 8);
        calls.push_back(Call(100 + static_cast<uint32_t>(n * 7 % 16), 0, number.c_str(),
                             n % 3 ? 'I' : 'O', std::to_string(n)));
    }
    CallLog(calls);
    const int32_t h = Open(log_, KF_MODE_READ);
    struct Case {
        int32_t keyNumber;
        int (*key)(const CallLogRecord &);
    };
    const Case cases[] = {
        {1, [](const CallLogRecord &r) { return r.Day; }},
        {2, [](const CallLogRecord &r) { return static_cast<int>(r.Number[3]); }},
        {3, [](const CallLogRecord &r) { return static_cast<int>(r.Direction); }},
    };
    for (const Case &c : cases) {
        std::vector<CallLogRecord> sorted = calls;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [&c](const auto &a, const auto &b) { return c.key(a) < c.key(b); });
        Tags expected;
        for (const CallLogRecord &r : sorted)
            expected.emplace_back(r.Name);
        EXPECT_EQ(Scan(h, KF_GET_FIRST, c.keyNumber), expected) << "key " << c.keyNumber;
    }
}

// Days 0 to 29 tagged "r00" to "r29"; tags of records added later sort in key order with them.
class ReadAheadTest : public KeyfileTest {
  protected:
    void SetUp() override {
        KeyfileTest::SetUp();
        std::vector<CallLogRecord> calls;
        for (uint32_t day = 0; day < 30; ++day)
            calls.push_back(Call(day, 0, "1", 'I', Tag(day)));
        writer_ = CallLog(calls);
        reader_ = Open(log_, KF_MODE_READ);
    }
    static std::string Tag(uint32_t day) { return (day < 10 ? "r0" : "r") + std::to_string(day); }
    static Tags AllBut(const Tags &gone) {
        Tags tags;
        for (uint32_t day = 0; day < 30; ++day) {
            if (std::find(gone.begin(), gone.end(), Tag(day)) == gone.end())
                tags.push_back(Tag(day));
        }
        return tags;
    }
    // The reader holds what its first get-next read ahead: r01 onwards.
    void StartScan(Tags &seen) {
        CallLogRecord r;
        ASSERT_EQ(Read(KF_GET_FIRST, reader_, &r, sizeof r, nullptr, 0, 1), KF_OK);
        seen.emplace_back(r.Name);
        ASSERT_EQ(Read(KF_GET_NEXT, reader_, &r, sizeof r), KF_OK);
        seen.emplace_back(r.Name);
    }
    void Delete(uint32_t day) {
        CallLogRecord r;
        const std::vector<uint8_t> key = TimeKey(day, 0);
        ASSERT_EQ(Read(KF_GET_EQUAL, writer_, &r, sizeof r, key.data(), 8, 1), KF_OK);
        ASSERT_EQ(kf_Delete(&writer_), KF_OK);
    }
    void Add(uint32_t day, uint32_t seconds, const std::string &tag) {
        const CallLogRecord c = Call(day, seconds, "1", 'I', tag);
        ASSERT_EQ(Insert(writer_, &c, sizeof c), KF_OK);
    }

    int32_t writer_ = 0;
    int32_t reader_ = 0;
};

TEST_F(ReadAheadTest, ChangesBeyondWhatWasReadAheadAreSeen) {
    Tags seen;
    StartScan(seen);
    Delete(5);  // among the records read ahead: may still come
    Delete(20); // beyond them: never comes
    Delete(25);
    Add(10, 30, "r10a"); // may come
    Add(22, 30, "r22a"); // must come
    CallLogRecord r;
    int32_t status = KF_OK;
    while ((status = Read(KF_GET_NEXT, reader_, &r, sizeof r)) == KF_OK)
        seen.emplace_back(r.Name);
    EXPECT_EQ(status, KF_END);
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_EQ(std::adjacent_find(seen.begin(), seen.end()), seen.end());
    Tags certain;
    std::copy_if(seen.begin(), seen.end(), std::back_inserter(certain),
                 [](const std::string &t) { return t != "r05" && t != "r10a"; });
    Tags expected = AllBut({"r05", "r20", "r25"});
    expected.insert(std::find(expected.begin(), expected.end(), "r23"), "r22a");
    EXPECT_EQ(certain, expected);
    // After the end the file is read again.
    Add(40, 0, "r40");
    EXPECT_EQ(Read(KF_GET_NEXT, reader_, &r, sizeof r), KF_OK);
    EXPECT_STREQ(r.Name, "r40");
    EXPECT_EQ(Read(KF_GET_NEXT, reader_, &r, sizeof r), KF_END);
}

TEST_F(ReadAheadTest, PositioningReadsDropWhatWasReadAhead) {
    struct Case {
        const char *what;
        int32_t op;
        std::vector<uint8_t> key;
        Tags before; // the records the read skips
    };
    const Case cases[] = {
        {"get-first", KF_GET_FIRST, {}, {}},
        {"get-equal", KF_GET_EQUAL, TimeKey(2, 0), {"r00", "r01"}},
        {"get-ge", KF_GET_GE, TimeKey(1, 1), {"r00", "r01"}},
    };
    for (const Case &c : cases) {
        Tags seen;
        StartScan(seen);
        Delete(3);
        Add(2, 30, "r02a");
        Tags expected = AllBut(c.before);
        expected.erase(std::find(expected.begin(), expected.end(), "r03"));
        expected.insert(std::find(expected.begin(), expected.end(), "r04"), "r02a");
        EXPECT_EQ(Scan(reader_, c.op, 1, c.key), expected) << c.what;
        // Back to days 0 to 29 for the next case.
        CallLogRecord r;
        const std::vector<uint8_t> added = TimeKey(2, 30);
        ASSERT_EQ(Read(KF_GET_EQUAL, writer_, &r, sizeof r, added.data(), 8, 1), KF_OK);
        ASSERT_EQ(kf_Delete(&writer_), KF_OK);
        Add(3, 0, "r03");
    }
}

TEST_F(KeyfileTest, ReadCopiesNoMoreThanTheGivenLength) {
    const CallLogRecord a = Call(7, 60, "5551234", 'I', "a"), b = Call(8, 0, "1", 'O', "b");
    const int32_t h = CallLog({a, b});
    // b comes from what the read-only handle's get-next read ahead.
    const int32_t reader = Open(log_, KF_MODE_READ);
    struct Case {
        int32_t length;
        size_t copied;
    };
    for (const Case c : {Case{10, 10}, Case{0, 0}, Case{129, 129}, Case{200, 129}}) {
        std::vector<uint8_t> buffer(300, 0xAA);
        ASSERT_EQ(Read(KF_GET_FIRST, h, buffer.data(), c.length, nullptr, 0, 1), KF_OK);
        EXPECT_EQ(std::memcmp(buffer.data(), &a, c.copied), 0) << c.length;
        EXPECT_EQ(buffer[c.copied], 0xAA) << c.length;
        std::vector<uint8_t> ahead(300, 0xAA);
        ASSERT_EQ(Read(KF_GET_FIRST, reader, nullptr, 0, nullptr, 0, 1), KF_OK);
        ASSERT_EQ(Read(KF_GET_NEXT, reader, ahead.data(), c.length), KF_OK);
        EXPECT_EQ(std::memcmp(ahead.data(), &b, c.copied), 0) << c.length;
        EXPECT_EQ(ahead[c.copied], 0xAA) << c.length;
    }
    // Reading with no buffer at all still moves the place.
    EXPECT_EQ(Read(KF_GET_FIRST, h, nullptr, 0, nullptr, 0, 1), KF_OK);
    EXPECT_EQ(kf_Delete(&h), KF_OK);
    EXPECT_EQ(Read(KF_GET_FIRST, h, nullptr, 10, nullptr, 0, 1), KF_BAD_ARGUMENT);
}

TEST_F(KeyfileTest, ExclusionKeyRefusesDuplicates) {
    const fs::path list = dir_ / "excl.CID";
    ASSERT_EQ(Create(list, ExclDefinition()), KF_OK);
    const int32_t h = Open(list, KF_MODE_UPDATE);
    const ExclRecord a = Excl("5551234", "first"), b = Excl("5551234", "second"),
                     c = Excl("55512345", "longer");
    EXPECT_EQ(Insert(h, &a, sizeof a), KF_OK);
    EXPECT_EQ(Insert(h, &b, sizeof b), KF_DUPLICATE);
    EXPECT_EQ(Insert(h, &c, sizeof c), KF_OK);
    EXPECT_EQ(kf_Count(&h), 2);
    ExclRecord r;
    EXPECT_EQ(Read(KF_GET_EQUAL, h, &r, sizeof r, a.Number, 16, 1), KF_OK);
    EXPECT_STREQ(r.Note, "first");
    const ExclRecord missing = Excl("555123", "");
    EXPECT_EQ(Read(KF_GET_EQUAL, h, &r, sizeof r, missing.Number, 16, 1), KF_NOT_FOUND);
    // Once deleted, the number may be added again.
    ASSERT_EQ(Read(KF_GET_EQUAL, h, &r, sizeof r, a.Number, 16, 1), KF_OK);
    ASSERT_EQ(kf_Delete(&h), KF_OK);
    EXPECT_EQ(Insert(h, &b, sizeof b), KF_OK);
}

TEST_F(KeyfileTest, CallsWithBadArgumentsFailWithoutEffect) {
    const int32_t h = CallLog({Call(1, 0, "1", 'I', "a")});
    const int32_t closed = h + 1000;
    CallLogRecord r;
    struct Case {
        const char *what;
        int32_t status;
        int32_t expected;
    };
    const Case cases[] = {
        {"unknown operation", Read(3, h, &r, sizeof r), KF_BAD_OPERATION},
        {"null operation", kf(nullptr, &h, &r, nullptr, nullptr, nullptr, nullptr),
         KF_BAD_OPERATION},
        {"handle not open", Read(KF_GET_FIRST, closed, &r, sizeof r, nullptr, 0, 1), KF_NOT_OPEN},
        {"null handle", kf_Delete(nullptr), KF_NOT_OPEN},
        {"key number 0", Read(KF_GET_FIRST, h, &r, sizeof r), KF_BAD_KEY_NUMBER},
        {"key number 4", Read(KF_GET_FIRST, h, &r, sizeof r, nullptr, 0, 4), KF_BAD_KEY_NUMBER},
        {"get-next before any read", Read(KF_GET_NEXT, h, &r, sizeof r), KF_NO_CURRENT},
        {"record shorter than its keys", Insert(h, &r, 100), KF_BAD_ARGUMENT},
        {"insert without a record", Insert(h, nullptr, 0), KF_BAD_ARGUMENT},
        {"negative length", Read(KF_GET_FIRST, h, &r, -1, nullptr, 0, 1), KF_BAD_ARGUMENT},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.status, c.expected) << c.what;
    EXPECT_EQ(kf_Count(&h), 1);
    // A record longer than the keys need is kept whole.
    uint8_t longer[200];
    std::memset(longer, 7, sizeof longer);
    ASSERT_EQ(Insert(h, longer, sizeof longer), KF_OK);
    uint8_t back[300] = {};
    const std::vector<uint8_t> key(longer, longer + 8);
    ASSERT_EQ(Read(KF_GET_EQUAL, h, back, sizeof back, key.data(), 8, 1), KF_OK);
    EXPECT_EQ(std::memcmp(back, longer, sizeof longer), 0);
    EXPECT_EQ(back[200], 0);
}

TEST_F(KeyfileTest, CountAddsUpItsPartsOnce) {
    // Written directly, in one transaction: enough records for several parts of a count, with
    // gaps in their insertion numbers and long runs of equal keys across the parts' edges.
    constexpr int64_t P = RecordStore::kCountPart;
    struct Case {
        const char *what;
        int64_t records;
        int64_t sameKeyRun; // consecutive records sharing every key
        int64_t deleted;    // every n-th record deleted afterwards, 0 for none
    };
    const Case cases[] = {
        {"empty", 0, 1, 0},
        {"one record", 1, 1, 0},
        {"all deleted", 3, 1, 1},
        {"one short of a part", P - 1, 7, 0},
        {"exactly a part", P, 1, 0},
        {"a part and one", P + 1, P, 0},
        {"parts with gaps and runs", 3 * P + 5, 1000, 3},
    };
    for (const Case &c : cases) {
        fs::remove(log_);
        ASSERT_EQ(Create(log_, CallLogDefinition()), KF_OK);
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(log_.string().c_str(), &db), SQLITE_OK);
        sqlite3_stmt *insert = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(db,
                                     "INSERT INTO kf_record VALUES(?1, zeroblob(120), ?2, ?2, ?2)",
                                     -1, &insert, nullptr),
                  SQLITE_OK);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        int64_t expected = 0;
        for (int64_t n = 0; n < c.records; ++n) {
            // Later runs sort first, so key order and insertion order disagree.
            const uint8_t key[2] = {static_cast<uint8_t>(255 - n / c.sameKeyRun % 256),
                                    static_cast<uint8_t>(n / c.sameKeyRun / 256)};
            sqlite3_bind_int64(insert, 1, 3 * n + 1);
            sqlite3_bind_blob(insert, 2, key, sizeof key, SQLITE_STATIC);
            EXPECT_EQ(sqlite3_step(insert), SQLITE_DONE);
            sqlite3_reset(insert);
            expected += c.deleted == 0 || n % c.deleted != 0;
        }
        sqlite3_finalize(insert);
        if (c.deleted != 0) {
            const std::string sql =
                "DELETE FROM kf_record WHERE (id - 1) / 3 % " + std::to_string(c.deleted) + " = 0";
            EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        EXPECT_EQ(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
        for (const int32_t mode : {KF_MODE_READ, KF_MODE_UPDATE}) {
            int32_t h = Open(log_, mode);
            ASSERT_GE(h, 1);
            EXPECT_EQ(kf_Count(&h), expected) << c.what << ", mode " << mode;
            kf_Close(&h);
        }
    }
}

TEST_F(KeyfileTest, NoLockOutlivesACall) {
    const int32_t writer = CallLog({Call(1, 0, "1", 'I', "a"), Call(2, 0, "1", 'I', "b")});
    const int32_t reader = Open(log_, KF_MODE_READ);
    CallLogRecord r;
    // Another process that will not wait must get the whole file at once after each call.
    sqlite3 *other = nullptr;
    ASSERT_EQ(sqlite3_open(log_.string().c_str(), &other), SQLITE_OK);
    const auto exclusive = [other] {
        return sqlite3_exec(other, "BEGIN EXCLUSIVE; COMMIT", nullptr, nullptr, nullptr);
    };
    const CallLogRecord c = Call(3, 0, "1", 'I', "c");
    struct Step {
        const char *what;
        int32_t status;
    };
    const Step steps[] = {
        {"get-first", Read(KF_GET_FIRST, reader, &r, sizeof r, nullptr, 0, 1)},
        {"exclusive after get-first", exclusive()},
        {"get-next mid-scan", Read(KF_GET_NEXT, reader, &r, sizeof r)},
        {"exclusive mid-scan", exclusive()},
        {"count", kf_Count(&reader) == 2 ? KF_OK : -1},
        {"exclusive after count", exclusive()},
        {"insert", Insert(writer, &c, sizeof c)},
        {"exclusive after insert", exclusive()},
        {"get-next to the new record", Read(KF_GET_NEXT, reader, &r, sizeof r)},
        {"get-next at the end", Read(KF_GET_NEXT, reader, &r, sizeof r) == KF_END ? KF_OK : -1},
        {"exclusive after the end", exclusive()},
    };
    for (const Step &step : steps)
        EXPECT_EQ(step.status, 0) << step.what;
    sqlite3_close(other);
}

TEST_F(KeyfileTest, HandlesOfOneProcessMayBeUsedFromTwoThreads) {
    const int32_t writer = CallLog({});
    const int inserts = 200;
    std::thread other([this] {
        // Opening and closing other handles meanwhile must not disturb the writer's handle.
        for (int i = 0; i < inserts; ++i) {
            const int32_t h = Open(log_, KF_MODE_READ);
            CallLogRecord r;
            const int32_t status = Read(KF_GET_FIRST, h, &r, sizeof r, nullptr, 0, 1);
            EXPECT_TRUE(status == KF_OK || status == KF_END) << status;
            EXPECT_EQ(kf_Close(&h), KF_OK);
        }
    });
    for (int i = 0; i < inserts; ++i) {
        const CallLogRecord c = Call(1, static_cast<uint32_t>(i), "1", 'I', std::to_string(i));
        EXPECT_EQ(Insert(writer, &c, sizeof c), KF_OK);
    }
    other.join();
    EXPECT_EQ(kf_Count(&writer), inserts);
}

} // namespace
