// The exclusion lists' CSV form: the exported bytes, what an import takes from a file, and the
// counts and summary of an import into a real list.
#include "excl_csv.h"

#include "excl_list.h"
#include "keyfile.h"
#include "test_program_dir.h"
#include <gtest/gtest.h>

namespace {

struct Entry {
    std::string key, note;
    bool operator==(const Entry &other) const { return key == other.key && note == other.note; }
};

void PrintTo(const Entry &entry, std::ostream *out) {
    *out << "[" << entry.key << "|" << entry.note << "]";
}

std::vector<Entry> Entries(const std::vector<ExclRecord> &records) {
    std::vector<Entry> entries;
    for (const ExclRecord &r : records)
        entries.push_back({std::string(r.Number, sizeof r.Number), r.Note});
    return entries;
}

std::string Key(const std::string &digits) {
    return digits + std::string(16 - digits.size(), ' ');
}

TEST(ExclListCsv, WritesTheHeaderAndEachEntrysDigitsAndNote) {
    const std::vector<ExclRecord> records = {
        MakeExclRecord("555-123-4567", "Luigi, \"the rival\" caf\xE9"),
        MakeExclRecord("123456789012345678", "=SUM(A1)"),
        MakeExclRecord("", "withheld"),
    };
    EXPECT_EQ(ExclListCsv(records), "\xEF\xBB\xBFNumber,Note\r\n"
                                    "5551234567,\"Luigi, \"\"the rival\"\" caf\xC3\xA9\"\r\n"
                                    "1234567890123456,'=SUM(A1)\r\n"
                                    ",withheld\r\n");
    EXPECT_EQ(ExclListCsv({}), "\xEF\xBB\xBFNumber,Note\r\n");
}

TEST(ReadExclListCsv, TakesEntriesAsTheAddDialogAndCountsUnreadableLines) {
    const std::string longNote(60, 'n');
    struct Case {
        const char *name;
        std::string bytes;
        std::vector<Entry> entries;
        int unreadable;
        std::vector<int> firstLines;
    } cases[] = {
        {"header and mark",
         "\xEF\xBB\xBFNumber,Note\r\n(555) 123-4567,rival\r\n",
         {{Key("5551234567"), "rival"}},
         0,
         {}},
        {"no header, number alone", "5551234\n", {{Key("5551234"), ""}}, 0, {}},
        {"blank lines and empty rows pass",
         "\r\n1\r\n\r\n,,\r\n \r\n2\r\n",
         {{Key("1"), ""}, {Key("2"), ""}},
         0,
         {}},
        {"letters, 16 digits and a header out of place are unreadable",
         "Number,Note\r\nno number here,x\r\n123456789012345,fifteen\r\n"
         "1234567890123456,sixteen\r\nNumber,Note\r\n,note alone\r\n",
         {{Key("123456789012345"), "fifteen"}},
         4,
         {2, 4, 5}},
        {"duplicates are kept for the list to judge",
         "5551234,a\r\n555-1234,b\r\n",
         {{Key("5551234"), "a"}, {Key("5551234"), "b"}},
         0,
         {}},
        {"Windows-1252", "1,Caf\xE9 \x80\r\n", {{Key("1"), "Caf\xE9 \x80"}}, 0, {}},
        {"UTF-8 without the mark",
         "1,Caf\xC3\xA9 \xE6\x97\xA5\r\n",
         {{Key("1"), "Caf\xE9 ?"}},
         0,
         {}},
        {"note cut, formula guard undone, extra columns ignored",
         "1," + longNote + "\r\n2,'=SUM(A1),x,y\r\n",
         {{Key("1"), std::string(47, 'n')}, {Key("2"), "=SUM(A1)"}},
         0,
         {}},
        {"a note ends at a NUL byte", std::string("1,ab\0cd\r\n", 9), {{Key("1"), "ab"}}, 0, {}},
        {"quoted line break in a note",
         "1,\"two\r\nlines\"\r\nabc\r\n",
         {{Key("1"), "two\r\nlines"}},
         1,
         {3}},
        {"a quote never closed loses one line", "1,\"open\r\n2,b\r\n", {{Key("2"), "b"}}, 1, {1}},
    };
    for (const Case &c : cases) {
        const ExclCsvRead read = ReadExclListCsv(c.bytes);
        EXPECT_EQ(Entries(read.records), c.entries) << c.name;
        EXPECT_EQ(read.unreadable.count, c.unreadable) << c.name;
        EXPECT_EQ(read.unreadable.firstLines, c.firstLines) << c.name;
    }
}

TEST(ExclImportSummary, CountsAndTheFirstThreeUnreadableLines) {
    ExclImportCount count;
    count.added = 12;
    count.present = 3;
    EXPECT_EQ(ExclImportSummary(count), "12 added, 3 already in the list, 0 unreadable");
    for (int line : {3, 8, 12, 20})
        count.unreadable.Add(line);
    EXPECT_EQ(ExclImportSummary(count), "12 added, 3 already in the list, 4 unreadable\n"
                                        "(first unreadable lines: 3, 8, 12)");
}

class ExclImportFile : public ProgramDirTest {
  protected:
    void TearDown() override {
        kf_CloseAll();
        ProgramDirTest::TearDown();
    }
};

TEST_F(ExclImportFile, AddsNewEntriesAndCountsThoseAlreadyThere) {
    ASSERT_EQ(CreateExclList(dir_, "list.CID"), 1);
    const int32_t handle = OpenExclList(dir_, "list.CID");
    ASSERT_GE(handle, 1);
    ASSERT_EQ(InsertExclRecord(handle, MakeExclRecord("5551234", "kept note")), KF_OK);

    const ExclCsvRead read =
        ReadExclListCsv("Number,Note\r\n555-1234,other note\r\n777,new\r\n777,again\r\nx\r\n");
    ExclImportCount count;
    const auto insert = [&](const ExclRecord &r) { return InsertExclRecord(handle, r); };
    EXPECT_EQ(ImportExclRecords(read, insert, count), KF_OK);
    EXPECT_EQ(ExclImportSummary(count), "1 added, 2 already in the list, 1 unreadable\n"
                                        "(first unreadable lines: 5)");
    EXPECT_EQ(kf_Count(&handle), 2);
    EXPECT_TRUE(IsExcluded(handle, Key("777")));
}

TEST(ImportExclRecords, StopsAtAFailedWrite) {
    const ExclCsvRead read = ReadExclListCsv("1\r\n2\r\n3\r\n");
    int calls = 0;
    const auto failSecond = [&](const ExclRecord &) { return ++calls == 2 ? KF_IO_ERROR : KF_OK; };
    ExclImportCount count;
    EXPECT_EQ(ImportExclRecords(read, failSecond, count), KF_IO_ERROR);
    EXPECT_EQ(calls, 2);
    EXPECT_EQ(count.added, 1);
}

} // namespace
