// ReportOptions called by a host with its window: the real dialog found by its caption and
// driven through its control ids from a second thread of the host (the date pickers' messages
// carry pointers, which only travel within one process).
#include "report_range.h"
#include "reptopt.h"
#include "reptopt_ids.h"
#include "test_windows.h"

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

namespace {

const char kTitle[] = "Inbound Call Log Range";

struct Outputs {
    int32_t List = -7, DayMask = -7, StartDate = -7, EndDate = -7, StartTime = -7, EndTime = -7,
            Spare = -7;
};

int32_t Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return DayNumberOf(CivilDate{now.wYear, now.wMonth, now.wDay});
}

// The dialog with this caption, when the owner is the one given.
HWND FindOwnedDialog(HWND owner, const char *caption) {
    HWND dialog = FindDialog(GetCurrentProcessId(), caption, 60000);
    return dialog && GetWindow(dialog, GW_OWNER) == owner ? dialog : nullptr;
}

class ReportOptionsTest : public ::testing::Test {
  protected:
    // One host window for all cases: under Wine without a window manager every window hidden
    // costs a two-second wait, so the cases share it and each shows as few dialogs as it can.
    static void SetUpTestSuite() {
        host_ = CreateWindowExA(0, "STATIC", "Back Office", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                400, 300, nullptr, nullptr, nullptr, nullptr);
    }
    static void TearDownTestSuite() { DestroyWindow(host_); }
    void SetUp() override { ASSERT_NE(host_, nullptr); }

    // Calls ReportOptions on this thread while `drive` works the dialog from another one and
    // ends it; `found_` tells whether the dialog appeared, owned by the host. With
    // `withVariables` false the title and every variable are null pointers.
    int32_t Run(const std::function<void(HWND)> &drive, bool withVariables = true) {
        std::atomic<bool> found{false};
        std::thread driver([&] {
            HWND dialog = FindOwnedDialog(host_, withVariables ? kTitle : "Report Options");
            found = dialog != nullptr;
            if (dialog != nullptr)
                drive(dialog);
        });
        const int32_t result =
            withVariables
                ? ReportOptions(host_, kTitle, &out_.List, &out_.DayMask, &out_.StartDate,
                                &out_.EndDate, &out_.StartTime, &out_.EndTime, &out_.Spare)
                : ReportOptions(host_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                                nullptr, nullptr);
        driver.join();
        found_ = found;
        return result;
    }

    static HWND host_;
    Outputs out_;
    bool found_ = false;
};

HWND ReportOptionsTest::host_ = nullptr;

void Click(HWND dialog, int id) {
    SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
}

void SetPicker(HWND dialog, int id, WORD y, WORD m, WORD d, WORD hh, WORD mm, WORD ss) {
    SYSTEMTIME time = {y, m, 0, d, hh, mm, ss, 0};
    SendDlgItemMessageA(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&time));
}

TEST_F(ReportOptionsTest, DefaultsAreAllOfTodayOnEveryDay) {
    std::string labels, startTimeText, endTimeText;
    bool allChecked = true;
    const int32_t result = Run([&](HWND dialog) {
        for (int id = IDC_SUNDAY; id <= IDC_SATURDAY; ++id) {
            labels += ItemText(dialog, id) + " ";
            allChecked = allChecked && IsDlgButtonChecked(dialog, id) == BST_CHECKED;
        }
        startTimeText = ItemText(dialog, IDC_START_TIME);
        endTimeText = ItemText(dialog, IDC_END_TIME);
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(found_);
    EXPECT_EQ(result, 1);
    EXPECT_EQ(labels, "Sunday Monday Tuesday Wednesday Thursday Friday Saturday ");
    EXPECT_TRUE(allChecked);
    EXPECT_EQ(startTimeText, "00:00:00");
    EXPECT_EQ(endTimeText, "23:59:59");
    EXPECT_EQ(out_.StartDate, Today());
    EXPECT_EQ(out_.EndDate, Today());
    EXPECT_EQ(out_.StartTime, 0);
    EXPECT_EQ(out_.EndTime, 86399);
    EXPECT_EQ(out_.DayMask, 0xFE);
    EXPECT_EQ(out_.List, 0);
    EXPECT_EQ(out_.Spare, 0);
}

TEST_F(ReportOptionsTest, OkGivesTheChosenSpanAndDays) {
    // A start after the end and no day kept are returned as chosen.
    struct {
        const char *what;
        CivilDate start, end;
        int32_t startTime, endTime;
        const char *days; // S M T W T F S
        int32_t mask;
    } const cases[] = {
        {"leap day span",
         {2024, 2, 29},
         {2024, 3, 2},
         12 * 3600 + 34 * 60 + 56,
         3723,
         "xxxxxxx",
         0xFE},
        {"start after end, no day", {2026, 12, 31}, {2026, 1, 1}, 86399, 0, ".......", 0},
        {"weekends", {1999, 12, 31}, {2000, 1, 1}, 1, 86398, "x.....x", 0x82},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        out_ = Outputs{};
        const int32_t result = Run([&](HWND dialog) {
            auto set = [&](int id, const CivilDate &date, int32_t seconds) {
                SetPicker(dialog, id, static_cast<WORD>(date.Year), static_cast<WORD>(date.Month),
                          static_cast<WORD>(date.Day), static_cast<WORD>(seconds / 3600),
                          static_cast<WORD>(seconds / 60 % 60), static_cast<WORD>(seconds % 60));
            };
            set(IDC_START_DATE, c.start, 0);
            set(IDC_START_TIME, c.start, c.startTime);
            set(IDC_END_DATE, c.end, 0);
            set(IDC_END_TIME, c.end, c.endTime);
            for (int i = 0; i < 7; ++i)
                if (c.days[i] != 'x')
                    Click(dialog, IDC_SUNDAY + i);
            Click(dialog, IDOK);
        });
        ASSERT_TRUE(found_);
        EXPECT_EQ(result, 1);
        EXPECT_EQ(out_.StartDate, DayNumberOf(c.start));
        EXPECT_EQ(out_.EndDate, DayNumberOf(c.end));
        EXPECT_EQ(out_.StartTime, c.startTime);
        EXPECT_EQ(out_.EndTime, c.endTime);
        EXPECT_EQ(out_.DayMask, c.mask);
    }
}

TEST_F(ReportOptionsTest, NullTitleAndVariablesAreNotWrittenThrough) {
    const int32_t result = Run([](HWND dialog) { Click(dialog, IDOK); }, false);
    ASSERT_TRUE(found_);
    EXPECT_EQ(result, 1);
}

TEST_F(ReportOptionsTest, CancelGivesZeroAndWritesNothing) {
    for (const auto &cancel : std::initializer_list<std::function<void(HWND)>>{
             [](HWND dialog) { Click(dialog, IDCANCEL); },
             [](HWND dialog) { PostMessageA(dialog, WM_CLOSE, 0, 0); }}) {
        out_ = Outputs{};
        const int32_t result = Run([&](HWND dialog) {
            SetPicker(dialog, IDC_START_DATE, 2020, 5, 5, 0, 0, 0);
            Click(dialog, IDC_SUNDAY);
            cancel(dialog);
        });
        ASSERT_TRUE(found_);
        EXPECT_EQ(result, 0);
        const Outputs untouched;
        EXPECT_EQ(std::memcmp(&out_, &untouched, sizeof out_), 0);
    }
}

ReportRange ShownRange(HWND dialog) {
    auto day = [&](int id) {
        SYSTEMTIME time = {};
        SendDlgItemMessageA(dialog, id, DTM_GETSYSTEMTIME, 0, reinterpret_cast<LPARAM>(&time));
        return std::make_pair(DayNumberOf(CivilDate{time.wYear, time.wMonth, time.wDay}),
                              time.wHour * 3600 + time.wMinute * 60 + time.wSecond);
    };
    bool checked[7];
    for (int i = 0; i < 7; ++i)
        checked[i] = IsDlgButtonChecked(dialog, IDC_SUNDAY + i) == BST_CHECKED;
    return ReportRange{day(IDC_START_DATE).first, day(IDC_END_DATE).first,
                       day(IDC_START_TIME).second, day(IDC_END_TIME).second, DayMaskOf(checked)};
}

TEST_F(ReportOptionsTest, QuickRangeButtonsSetTheSpanAndKeepTheDays) {
    const int ids[] = {IDC_TODAY,     IDC_YESTERDAY,  IDC_THIS_WEEK,
                       IDC_LAST_WEEK, IDC_THIS_MONTH, IDC_LAST_MONTH};
    ReportRange shown[6] = {};
    const int32_t result = Run([&](HWND dialog) {
        Click(dialog, IDC_SUNDAY + 1); // Monday off
        for (int i = 0; i < 6; ++i) {
            SetPicker(dialog, IDC_START_TIME, 2001, 1, 1, 5, 6, 7);
            Click(dialog, ids[i]);
            shown[i] = ShownRange(dialog);
        }
        Click(dialog, IDOK);
    });
    ASSERT_TRUE(found_);
    EXPECT_EQ(result, 1);
    const int32_t keptDays = 0xFE & ~(1 << 2);
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(ids[i]);
        ReportRange current = DefaultRange(Today());
        current.DayMask = keptDays;
        const ReportRange expected = QuickRangeOf(static_cast<QuickRange>(i), Today(), current);
        EXPECT_EQ(shown[i].StartDate, expected.StartDate);
        EXPECT_EQ(shown[i].EndDate, expected.EndDate);
        EXPECT_EQ(shown[i].StartTime, 0);
        EXPECT_EQ(shown[i].EndTime, 86399);
        EXPECT_EQ(shown[i].DayMask, keptDays);
    }
    // The last one clicked is what OK returns.
    EXPECT_EQ(out_.StartDate, shown[5].StartDate);
    EXPECT_EQ(out_.EndDate, shown[5].EndDate);
    EXPECT_EQ(out_.DayMask, keptDays);
}

} // namespace
