// The call log's key definition bytes, and records inserted and read back through the record
// manager.
#include "call_log.h"

#include "keyfile.h"
#include "record_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

std::vector<uint8_t> Key(const char *name, std::initializer_list<uint8_t> rest) {
    std::vector<uint8_t> bytes(name, name + std::strlen(name));
    bytes.resize(25, ' ');
    bytes.insert(bytes.end(), rest);
    return bytes;
}

TEST(CallLogDefinition, ExactBytes) {
    std::vector<uint8_t> expected = {1, 1, 3};
    for (const auto &key :
         {Key("Time/Date", {1, 1, 0, 8, 8}), Key("Phone Number", {2, 41, 0, 20, 0}),
          Key("InOut", {3, 101, 0, 1, 0})})
        expected.insert(expected.end(), key.begin(), key.end());
    EXPECT_EQ(CallLogDefinition(), expected);
}

TEST(CallLog, NoProgramDirectoryNoFile) {
    EXPECT_FALSE(CreateCallLog(""));
    EXPECT_LT(OpenCallLog(""), 1);
}

CallLogRecord MakeRecord(int32_t day, int32_t seconds, int16_t line, const std::string &name) {
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Seconds = seconds;
    rec.Day = day;
    PutTextPadded(rec.Number, "PRIVATE");
    PutTextNul(rec.Name, name);
    rec.Line = line;
    rec.Direction = 'I';
    rec.Status = LOG_STATUS_AT_START;
    return rec;
}

// Every byte that no text reaches is zero (NUL fields) or a space (the number), as readers
// compare whole fields.
TEST(CallLogRecordFields, TextsAreCutAndFilled) {
    CallLogRecord rec = MakeRecord(1, 0, 1, std::string(40, 'N'));
    EXPECT_EQ(std::string(rec.Name, 32), std::string(31, 'N') + '\0');
    EXPECT_EQ(std::string(rec.Number, 20), "PRIVATE" + std::string(13, ' '));
    PutTextPadded(rec.Number, std::string(25, '5'));
    EXPECT_EQ(std::string(rec.Number, 20), std::string(20, '5'));
    EXPECT_EQ(std::string(rec.ExtraDigits, 32), std::string(32, '\0'));
    PutTextNul(rec.ExtraDigits, "*72#");
    EXPECT_EQ(std::string(rec.ExtraDigits, 32), "*72#" + std::string(28, '\0'));
    EXPECT_EQ(GetTextPadded(rec.Number), std::string(20, '5'));
    EXPECT_EQ(GetTextNul(rec.ExtraDigits), "*72#");
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(rec.Reserved), 24), std::string(24, '\0'));
}

class CallLogFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = ::testing::TempDir() + "calllog_" + info->name() + "/";
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_ + "DATA");
    }
    void TearDown() override {
        kf_CloseAll();
        std::filesystem::remove_all(dir_);
    }
    std::string dir_;
};

// Calls in the same minute on two lines share key 1; both are kept, in the order they came.
TEST_F(CallLogFile, RecordsComeBackByteForByteInKeyOrder) {
    ASSERT_TRUE(CreateCallLog(dir_));
    const int32_t handle = OpenCallLog(dir_);
    ASSERT_GE(handle, 1);
    // Key 1 is one 64-bit number: the next day at midnight sorts after this day's evening,
    // although its leading byte is smaller.
    const CallLogRecord records[] = {
        MakeRecord(46280, 0, 4, "NEXT DAY"), MakeRecord(46279, 43500, 1, "ANNA MARIA LOPEZ"),
        MakeRecord(46279, 43500, 2, "BEN"), MakeRecord(46279, 86340, 3, "LATE")};
    for (const CallLogRecord &rec : records)
        ASSERT_EQ(InsertCallLog(handle, rec), KF_OK);

    const CallLogRecord *expected[] = {&records[1], &records[2], &records[3], &records[0]};
    int32_t op = KF_GET_FIRST;
    const int32_t length = sizeof(CallLogRecord), keyLength = 8, keyNumber = 1;
    for (const CallLogRecord *want : expected) {
        CallLogRecord got;
        uint8_t key[8] = {};
        ASSERT_EQ(kf(&op, &handle, &got, &length, key, &keyLength, &keyNumber), KF_OK);
        EXPECT_EQ(std::memcmp(&got, want, sizeof got), 0) << GetTextNul(want->Name);
        op = KF_GET_NEXT;
    }
    CallLogRecord none;
    uint8_t key[8] = {};
    EXPECT_EQ(kf(&op, &handle, &none, &length, key, &keyLength, &keyNumber), KF_END);
}

} // namespace
