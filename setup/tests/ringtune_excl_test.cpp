// The exclusion list editor of the real dialog: what Add stores and shows, the duplicate box,
// and Delete by the stored number, for entries whose shown text cannot give the number back.
#include <gtest/gtest.h>

#include <algorithm>

#include "ringhold_harness.h"
#include "setup_call_win.h"

namespace {

using Lines = std::vector<std::string>;

// Types a number and a note into "Add Phone to Exclude" opened by the Add button `addId`, and
// saves them (or cancels).
void AddEntry(HWND dialog, int addId, const char *number, const char *note, bool save = true) {
    Click(dialog, addId);
    HWND add = WaitForBox("Add Phone to Exclude");
    ASSERT_TRUE(add) << number;
    SetDlgItemTextA(add, 100, number);
    SetDlgItemTextA(add, 110, note);
    Click(add, save ? IDOK : IDCANCEL);
    ASSERT_TRUE(WaitForWindowGone(add, 10000)) << number;
}

// By its text, which may be empty (a list box finds no empty line by itself).
void SelectLine(HWND dialog, int listId, const std::string &text) {
    const Lines lines = ListLines(dialog, listId);
    const auto line = std::find(lines.begin(), lines.end(), text);
    ASSERT_NE(line, lines.end()) << text;
    SendDlgItemMessageA(dialog, listId, LB_SETCURSEL, (WPARAM)(line - lines.begin()), 0);
}

// The lines in a fixed order: the list box sorts by the system's collation, which passes over
// dashes.
Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

// Presses Delete and waits until the list box has `expected` lines.
Lines DeleteSelected(HWND dialog, int deleteId, int listId, size_t expected) {
    Click(dialog, deleteId);
    WaitUntil([&] { return ListLines(dialog, listId).size() == expected; }, 5000);
    return Sorted(ListLines(dialog, listId));
}

class ExclEditor : public testing::Test {
  protected:
    void SetUp() override { ClearProgramFiles(); }
};

TEST_F(ExclEditor, AddStoresTheDigitsAndShowsThemFormatted) {
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ListLines(dialog, 130), Lines{});
    struct Case {
        const char *number, *note;
    } cases[] = {
        {"(555) 123-4567", "area code, space, dash"},
        {"555-1234", "seven digits"},
        {"123456789012345678", "eighteen digits"},
        {"", "a note alone"},
        {"", ""}, // both empty: nothing stored
    };
    for (const Case &c : cases)
        AddEntry(dialog, 140, c.number, c.note);
    AddEntry(dialog, 140, "999", "cancelled", false);
    const Lines shown = {"", "123-456-7890 x12345", "555-123-4567", "5551234"};
    EXPECT_EQ(Sorted(ListLines(dialog, 130)), shown);

    AddEntry(dialog, 140, "555.123.4567", "again");
    HWND duplicate = WaitForBox("Already Exists");
    ASSERT_TRUE(duplicate);
    EXPECT_EQ(MessageBoxText(duplicate), "Duplicate Phone Number!");
    ASSERT_TRUE(PressButton(duplicate, IDOK));
    EXPECT_EQ(Sorted(ListLines(dialog, 130)), shown);

    // The display list is a list of its own.
    EXPECT_EQ(ListLines(dialog, 220), Lines{});
    AddEntry(dialog, 230, "5551234", "");
    EXPECT_EQ(ListLines(dialog, 220), Lines{"5551234"});
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));

    // Written at once: Cancel does not undo the lists, and the next opening shows them.
    SetupCall again;
    dialog = again.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Sorted(ListLines(dialog, 130)), shown);
    EXPECT_EQ(ListLines(dialog, 220), Lines{"5551234"});
}

TEST_F(ExclEditor, DeleteRemovesTheSelectedEntryEvenWithoutDigitsOrPastFifteen) {
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    AddEntry(dialog, 140, "123456789012345678", "long");
    AddEntry(dialog, 140, "", "no digits");
    AddEntry(dialog, 140, "5551234", "");

    // No line selected: nothing happens.
    SendDlgItemMessageA(dialog, 130, LB_SETCURSEL, (WPARAM)-1, 0);
    Click(dialog, 160);
    Sleep(300);
    EXPECT_EQ(ListLines(dialog, 130).size(), 3u);

    SelectLine(dialog, 130, "123-456-7890 x12345");
    EXPECT_EQ(DeleteSelected(dialog, 160, 130, 2), (Lines{"", "5551234"}));
    SelectLine(dialog, 130, "");
    EXPECT_EQ(DeleteSelected(dialog, 160, 130, 1), Lines{"5551234"});
    SelectLine(dialog, 130, "5551234");
    EXPECT_EQ(DeleteSelected(dialog, 160, 130, 0), Lines{});
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));

    SetupCall again;
    dialog = again.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ListLines(dialog, 130), Lines{});
}

} // namespace

namespace {

// The warning box that has no owner, read and answered.
std::string AnswerWarning() {
    HWND box = WaitForBox("Warning!");
    if (!box)
        return "<no warning>";
    EXPECT_EQ(GetWindow(box, GW_OWNER), nullptr);
    std::string text = MessageBoxText(box);
    PressButton(box, IDOK);
    return text;
}

} // namespace

// A log list that cannot be created (a folder has its name) and a display list that is no record
// file: two warnings before the dialog, then both lists stay empty and Add does nothing.
TEST_F(ExclEditor, UnusableListFilesWarnAndStayDisabled) {
    const ProgramDir &dir = TestProgramDir();
    ASSERT_TRUE(CreateDirectoryA(dir.Path("DATA\\QuorlExclLog.CID").c_str(), nullptr));
    ASSERT_TRUE(WriteWholeFile(dir.Path("DATA\\QuorlExclShow.CID"), "not a record file"));
    SetupCall call;
    EXPECT_EQ(AnswerWarning(), "ERROR: Creating Log Exclude File, Exclusion Disabled");
    EXPECT_EQ(AnswerWarning(), "ERROR: Opening Dsp Exclude File, Logging Disabled");
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    for (int add : {140, 230}) {
        Click(dialog, add);
        EXPECT_EQ(FindDialog(GetCurrentProcessId(), "Add Phone to Exclude", 1000), nullptr) << add;
    }
    EXPECT_EQ(ListLines(dialog, 130), Lines{});
    EXPECT_EQ(ListLines(dialog, 220), Lines{});
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
    RemoveDirectoryA(dir.Path("DATA\\QuorlExclLog.CID").c_str());
}
