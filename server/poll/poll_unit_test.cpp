// `PollUnit` on Windows with a scripted link: the real station display file, raw capture file,
// call log and display exclusion list in a temporary program directory.
#include "call_log.h"
#include "excl_list.h"
#include "file_names.h"
#include "keyfile.h"
#include "poll_unit.h"
#include "report_builder.h"
#include "test_program_dir.h"
#include <cstring>
#include <deque>
#include <windows.h>

namespace {

struct ScriptedLink : UnitLink {
    std::deque<std::string> Reports;
    std::string NextReport() override {
        if (Reports.empty())
            return "";
        std::string next = Reports.front();
        Reports.pop_front();
        return next;
    }
};

class PollUnitFiles : public ProgramDirTest {
  protected:
    void TearDown() override {
        kf_CloseAll();
        ProgramDirTest::TearDown();
    }
    PollState State(uint32_t options) {
        CidConfig cfg{};
        cfg.PortSel = 1;
        cfg.FirstLine = 1;
        cfg.LastLine = 4;
        cfg.Options = options;
        return PollState(dir_, cfg);
    }
    static std::string Report(const char *line, const char *number, const char *name) {
        TestReport r;
        r.Line = line;
        r.Number = number;
        r.Name = name;
        return r.Text();
    }
    // The display file's record of a line, or "" when the file does not reach it.
    std::string DisplayRecordOf(int line) {
        std::string all = ReadBytes(DISPLAY_FILE);
        size_t at = (line - 1) * sizeof(StationDisplayRecord);
        return all.size() < at + sizeof(StationDisplayRecord)
                   ? ""
                   : all.substr(at, sizeof(StationDisplayRecord));
    }
    ScriptedLink link_;
};

TEST_F(PollUnitFiles, ShowsCapturesAndLogsOneReportPerPass) {
    PollState state = State(CFG_LOGGING | CFG_RAW_OUTPUT | CFG_EXCL_SHOW);
    ASSERT_TRUE(CreateCallLog(dir_));
    state.CallLog = OpenCallLog(dir_);
    ASSERT_GE(state.CallLog, 1);
    ASSERT_EQ(CreateExclList(dir_, EXCL_SHOW_FILE), 1);
    state.DisplayExcl = OpenExclList(dir_, EXCL_SHOW_FILE);
    ASSERT_EQ(InsertExclRecord(state.DisplayExcl, MakeExclRecord("5559876543", "")), 0);

    const std::string shown = Report("02", "555-123-4567", "JOHN SMITH");
    const std::string hidden = Report("04", "555-987-6543", "RIVAL");
    const std::string outside = Report("07", "555-123-4567", "ELSEWHERE");
    link_.Reports = {shown, hidden, outside};
    PollUnit(state, link_);
    EXPECT_EQ(link_.Reports.size(), 2u);
    PollUnit(state, link_);
    PollUnit(state, link_);
    PollUnit(state, link_); // nothing left: no change

    EXPECT_EQ(ReadBytes(RAW_FILE), shown + "\r\n" + hidden + "\r\n" + outside + "\r\n");

    std::string line2 = DisplayRecordOf(2);
    ASSERT_EQ(line2.size(), sizeof(StationDisplayRecord));
    EXPECT_EQ(std::string(line2.c_str()), "555-123-4567");
    EXPECT_EQ(std::string(line2.c_str() + 20), "JOHN SMITH");
    EXPECT_EQ(std::string(line2.c_str() + 40), "09:07 PM");
    EXPECT_EQ(DisplayRecordOf(1), std::string(sizeof(StationDisplayRecord), '\0'));
    EXPECT_EQ(DisplayRecordOf(4), "");

    // Hidden from the display, but still logged; the line outside the range is not.
    EXPECT_EQ(kf_Count(&state.CallLog), 2);
    CallLogRecord rec;
    const int32_t first = KF_GET_FIRST, length = sizeof rec, keyNumber = 2, none = 0;
    ASSERT_EQ(kf(&first, &state.CallLog, &rec, &length, nullptr, &none, &keyNumber), KF_OK);
    EXPECT_EQ(std::string(rec.Number, 20), "5551234567          ");
    EXPECT_STREQ(rec.Name, "JOHN SMITH");
}

// A program holding the capture without sharing costs the report; one that only reads it and
// lets others write (a technician's viewer, a test waiting for lines) must not.
TEST_F(PollUnitFiles, RawCaptureWhileAnotherHandleHasTheFileOpen) {
    struct Case {
        const char *holder;
        DWORD share;
        bool captured;
    } const cases[] = {
        {"held without sharing", 0, false},
        {"read by a viewer", FILE_SHARE_READ | FILE_SHARE_WRITE, true},
    };
    for (const Case &c : cases) {
        PollState state = State(CFG_RAW_OUTPUT);
        const std::string first = Report("01", "1", "A"), second = Report("01", "2", "B");
        WriteBytes(RAW_FILE, "old\r\n");
        const std::string path = File(RAW_FILE).string();
        HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, c.share, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << c.holder;
        link_.Reports = {first};
        PollUnit(state, link_);
        EXPECT_TRUE(link_.Reports.empty()) << c.holder;
        CloseHandle(held);
        const std::string old = "old\r\n" + (c.captured ? first + "\r\n" : "");
        EXPECT_EQ(ReadBytes(RAW_FILE), old) << c.holder;

        // The display write of the same pass was not held up by the capture.
        EXPECT_EQ(std::string(DisplayRecordOf(1).c_str()), "1") << c.holder;

        link_.Reports = {second};
        PollUnit(state, link_);
        EXPECT_EQ(ReadBytes(RAW_FILE), old + second + "\r\n") << c.holder;
    }
}

// An order station holding the display file must not leave an old caller on the screen: what
// could not be written is written at the first pass after the file is free, newest per line.
TEST_F(PollUnitFiles, DisplayRecordsHeldBackAreWrittenOnceTheFileIsFree) {
    PollState state = State(0);
    const std::string path = File(DISPLAY_FILE).string();
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    link_.Reports = {Report("01", "555-000-0001", "OLDER"), Report("02", "555-000-0002", "B"),
                     Report("01", "555-000-0003", "NEWER")};
    for (int pass = 0; pass < 4; pass++)
        PollUnit(state, link_);
    EXPECT_TRUE(link_.Reports.empty());
    CloseHandle(held);
    EXPECT_EQ(DisplayRecordOf(1), "");

    PollUnit(state, link_); // nothing from the unit
    EXPECT_EQ(std::string(DisplayRecordOf(1).c_str()), "555-000-0003");
    EXPECT_EQ(std::string(DisplayRecordOf(2).c_str()), "555-000-0002");
    EXPECT_TRUE(state.Unshown.empty());
}

TEST_F(PollUnitFiles, NoCallLogMeansNothingIsInserted) {
    PollState state = State(CFG_LOGGING);
    link_.Reports = {Report("01", "555-123-4567", "JOHN SMITH")};
    PollUnit(state, link_);
    EXPECT_FALSE(std::filesystem::exists(File(CALL_LOG_FILE)));
    EXPECT_FALSE(std::filesystem::exists(File(RAW_FILE)));
    EXPECT_EQ(std::string(DisplayRecordOf(1).c_str()), "555-123-4567");
}

} // namespace
