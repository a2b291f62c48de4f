// Exclusion list keys, display form and lookups, against the real record manager.
#include "excl_list.h"
#include "keyfile.h"
#include "test_program_dir.h"
#include <cstring>
#include <gtest/gtest.h>

namespace {

TEST(FormatExclPhone, ShowsDigitsInTheEditorsForm) {
    struct Case {
        const char *typed, *stored, *shown;
    } cases[] = {
        {"(555) 123-4567", "5551234567      ", "555-123-4567"},
        {"123-4567", "1234567         ", "1234567"},
        {"123456789012345678", "1234567890123456", "123-456-7890 x12345"},
        {"555123456789", "555123456789    ", "555-123-4567 x89"},
        {"no digits", "                ", ""},
    };
    for (const Case &c : cases) {
        ExclRecord r = MakeExclRecord(c.typed, "");
        EXPECT_EQ(std::string(r.Number, 16), c.stored) << c.typed;
        EXPECT_EQ(FormatExclPhone(std::string(r.Number, 16)), c.shown) << c.typed;
    }
}

TEST(MakeExclRecord, NoteIsCutTo47AndTheRestIsZero) {
    ExclRecord r = MakeExclRecord("1", std::string(60, 'n'));
    EXPECT_EQ(std::string(r.Note, 47), std::string(47, 'n'));
    EXPECT_EQ(r.Note[47], '\0');
    r = MakeExclRecord("1", "hi");
    EXPECT_STREQ(r.Note, "hi");
    for (size_t i = 3; i < sizeof r.Note; ++i)
        EXPECT_EQ(r.Note[i], '\0') << i;
}

TEST(ExclKeys, DisplayKeyTakesDigitsAndLogKeyTakesTheTrimmedNumber) {
    EXPECT_EQ(DisplayExclKey("555-123-4567"), "5551234567      ");
    EXPECT_EQ(DisplayExclKey("PRIVATE"), std::string(16, ' '));
    EXPECT_EQ(DisplayExclKey("12345678901234567890"), "1234567890123456");

    struct Case {
        const char *number; // 20 bytes as stored
        const char *key;
    } cases[] = {
        {"PRIVATE             ", "PRIVATE         "},
        {"  5551234567        ", "5551234567      "},
        {"12345678901234567890", "1234567890123456"},
        {"                    ", "                "},
    };
    for (const Case &c : cases) {
        char number[20];
        std::memcpy(number, c.number, 20);
        EXPECT_EQ(LogExclKey(number), c.key) << c.number;
    }
    char withNuls[20] = {'\0', ' ', '7', '7'};
    EXPECT_EQ(LogExclKey(withNuls), "77              ");
}

TEST(ExclListDefinition, IsTheExactByteString) {
    const uint8_t expected[] = {1,   0,   1,   'E', 'x', 'l', 'u', 'd', 'e', ' ', 'P',
                                'h', 'o', 'n', 'e', ' ', ' ', ' ', ' ', ' ', ' ', ' ',
                                ' ', ' ', ' ', ' ', ' ', ' ', 1,   1,   0,   16,  6};
    std::vector<uint8_t> def = ExclListDefinition();
    EXPECT_EQ(def, std::vector<uint8_t>(expected, expected + sizeof expected));
}

class ExclListFile : public ProgramDirTest {
  protected:
    void TearDown() override {
        kf_CloseAll();
        ProgramDirTest::TearDown();
    }
};

TEST_F(ExclListFile, CreatesOnceAndNotWithoutAProgramDirectory) {
    EXPECT_EQ(CreateExclList("", "list.CID"), 0);
    EXPECT_EQ(CreateExclList(dir_, "list.CID"), 1);
    EXPECT_EQ(CreateExclList(dir_, "list.CID"), 0);
}

TEST_F(ExclListFile, LooksUpWholeKeysOnly) {
    ASSERT_EQ(CreateExclList(dir_, "list.CID"), 1);
    int32_t handle = OpenExclList(dir_, "list.CID");
    ASSERT_GE(handle, 1);
    EXPECT_EQ(InsertExclRecord(handle, MakeExclRecord("(555) 123-4567", "pizza rival")), KF_OK);
    EXPECT_EQ(InsertExclRecord(handle, MakeExclRecord("", "withheld")), KF_OK);
    EXPECT_EQ(InsertExclRecord(handle, MakeExclRecord("555.123.4567", "again")), KF_DUPLICATE);

    EXPECT_TRUE(IsExcluded(handle, DisplayExclKey("555-123-4567")));
    EXPECT_FALSE(IsExcluded(handle, DisplayExclKey("1-555-123-4567")));
    EXPECT_FALSE(IsExcluded(handle, DisplayExclKey("123-4567")));
    EXPECT_TRUE(IsExcluded(handle, DisplayExclKey("PRIVATE")));
    EXPECT_FALSE(IsExcluded(0, DisplayExclKey("555-123-4567")));
}

} // namespace
