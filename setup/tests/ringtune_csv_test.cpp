// The exclusion lists' context menu on the real dialog: a CSV file imported through the open
// dialog and its result box, the list exported through the save dialog and its bytes read back,
// and an export that cannot replace its target.
#include <gtest/gtest.h>

#include <cstdio>
#include <cwchar>

#include "file_names.h"
#include "ringhold_harness.h"
#include "setup_call_win.h"
#include "storage_fault_win.h"

namespace {

using Lines = std::vector<std::string>;

const int kLogList = 130;
const int kImport = 0, kExport = 1;

// Good rows, one number twice, and three unreadable rows (a line of letters, 16 digits, a note
// without a number), in UTF-8 with the mark.
const char kImported[] = "\xEF\xBB\xBFNumber,Note\r\n"
                         "(555) 123-4567,\"Luigi, \"\"the rival\"\"\"\r\n"
                         "555.123.4567,again\r\n"
                         "no number\r\n"
                         "1234567890123456,sixteen\r\n"
                         ",note alone\r\n"
                         "777,Caf\xC3\xA9 \xE6\x97\xA5\r\n";

const char kExported[] = "\xEF\xBB\xBFNumber,Note\r\n"
                         "5551234567,\"Luigi, \"\"the rival\"\"\"\r\n"
                         "777,Caf\xC3\xA9 ?\r\n";

// Chooses the menu item for the list and answers the file dialog that follows with `path`.
HWND UseListMenu(HWND dialog, bool byKeyboard, int item, const char *fileCaption,
                 const std::string &path) {
    HWND menu = OpenContextMenu(dialog, kLogList, byKeyboard);
    if (!menu)
        return nullptr;
    EXPECT_EQ(MenuItems(menu), (Lines{"&Import from CSV...", "&Export to CSV..."}));
    ChooseMenuItem(menu, item);
    return AnswerFileDialog(fileCaption, path);
}

// The box that ends an import or reports a failure: its text, once answered.
std::string AnswerListBox(HWND dialog, DWORD waitMs = kBoxWaitMs) {
    HWND box = WaitForBox("Exclusion List", waitMs);
    if (!box)
        return "<no box>";
    EXPECT_EQ(GetWindow(box, GW_OWNER), dialog);
    const std::string text = MessageBoxText(box);
    PressButton(box, IDOK);
    return text;
}

std::vector<std::string> TemporaryFiles() {
    return FileNamesMatching(TestProgramDir().Path("csv*.tmp"));
}

class ExclCsv : public testing::Test {
  protected:
    void SetUp() override { ClearProgramFiles(); }
};

TEST_F(ExclCsv, ImportAddsWhatIsNewAndExportWritesTheList) {
    const std::string in = TestProgramDir().Path("in.csv");
    const std::string out = TestProgramDir().Path("out.csv");
    ASSERT_TRUE(WriteWholeFile(in, kImported));
    ASSERT_TRUE(WriteWholeFile(out, "an older export"));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);

    HWND open = UseListMenu(dialog, false, kImport, "Import from CSV", in);
    ASSERT_TRUE(open);
    EXPECT_EQ(AnswerListBox(dialog), "2 added, 1 already in the list, 3 unreadable\n"
                                     "(first unreadable lines: 4, 5, 6)");
    EXPECT_EQ(ListLines(dialog, kLogList), (Lines{"555-123-4567", "777"}));
    EXPECT_EQ(ReadWholeFile(in), kImported);

    // The target exists: the save dialog asks before replacing it.
    HWND save = UseListMenu(dialog, true, kExport, "Export to CSV", out);
    ASSERT_TRUE(save);
    HWND replace = WaitForBoxOwnedBy(save);
    ASSERT_TRUE(replace);
    ASSERT_TRUE(PressButton(replace, IDYES));
    ASSERT_TRUE(WaitForWindowGone(save, 15000));
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(out) == kExported; }, 15000))
        << ReadWholeFile(out);
    EXPECT_EQ(TemporaryFiles(), Lines{});
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));

    // The list file holds what the list box showed.
    SetupCall again;
    dialog = again.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ListLines(dialog, kLogList), (Lines{"555-123-4567", "777"}));
}

// Another program holds the target: the old file stays whole and no temporary file is left.
TEST_F(ExclCsv, ExportThatCannotReplaceItsTargetSaysSo) {
    const std::string out = TestProgramDir().Path("held.csv");
    ASSERT_TRUE(WriteWholeFile(out, "kept"));
    ChildProcess holder;
    ASSERT_TRUE(HoldUnshared(holder, out));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);

    HWND save = UseListMenu(dialog, false, kExport, "Export to CSV", out);
    ASSERT_TRUE(save);
    HWND replace = WaitForBoxOwnedBy(save);
    ASSERT_TRUE(replace);
    ASSERT_TRUE(PressButton(replace, IDYES));
    EXPECT_EQ(AnswerListBox(dialog), "ERROR: Writing CSV File!");
    holder.Kill();
    EXPECT_TRUE(WaitUntil([&] { return ReadWholeFile(out) == "kept"; }, 15000));
    EXPECT_EQ(TemporaryFiles(), Lines{});
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
}

// The windows of one caption created on a thread, seen however short their life: a fast
// disk can end an import a moment after its progress window opened.
class CreationWatch {
  public:
    CreationWatch(HWND dialog, const wchar_t *caption) {
        caption_ = caption;
        created_ = nullptr;
        hook_ = SetWindowsHookExW(WH_CBT, Hook, nullptr, GetWindowThreadProcessId(dialog, nullptr));
    }
    ~CreationWatch() { UnhookWindowsHookEx(hook_); }
    CreationWatch(const CreationWatch &) = delete;
    CreationWatch &operator=(const CreationWatch &) = delete;
    bool Installed() const { return hook_ != nullptr; }
    HWND Created() const { return created_; }

  private:
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_CREATEWND) {
            const LPCWSTR name = reinterpret_cast<CBT_CREATEWNDW *>(lParam)->lpcs->lpszName;
            if (!IS_INTRESOURCE(name) && wcscmp(name, caption_) == 0)
                created_ = reinterpret_cast<HWND>(wParam);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static const wchar_t *caption_;
    static HWND volatile created_;
    HHOOK hook_;
};
const wchar_t *CreationWatch::caption_;
HWND volatile CreationWatch::created_;

// A long file shows its progress while the dialog goes on answering; it ends with one box.
// Another program holding the list file from before the import starts makes it wait long
// enough for the progress window on any machine. A loaded machine may take many seconds to
// close the open dialog or to write the rows, so each wait ends on its event.
TEST_F(ExclCsv, LongImportShowsProgressAndKeepsTheDialogAnswering) {
    const std::string first = TestProgramDir().Path("first.csv");
    ASSERT_TRUE(WriteWholeFile(first, "5550000000,first\r\n"));
    std::string rows;
    const int kRows = 120;
    for (int i = 0; i < kRows; i++)
        rows += "555" + std::to_string(1000000 + i) + ",row " + std::to_string(i) + "\r\n";
    const std::string in = TestProgramDir().Path("long.csv");
    ASSERT_TRUE(WriteWholeFile(in, rows));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(UseListMenu(dialog, false, kImport, "Import from CSV", first));
    EXPECT_EQ(AnswerListBox(dialog), "1 added, 0 already in the list, 0 unreadable");

    const DWORD start = GetTickCount();
    CreationWatch progress(dialog, L"Importing Numbers");
    ASSERT_TRUE(progress.Installed());
    RecordFileLock lock(TestProgramDir().Path(EXCL_LOG_FILE));
    ASSERT_TRUE(lock.Held());
    HWND open = UseListMenu(dialog, false, kImport, "Import from CSV", in);
    ASSERT_TRUE(open);
    // The import starts as the open dialog goes, at most moments later on a busy machine; the
    // lock is let go well before the list file's own 10 s wait for it gives up.
    ASSERT_TRUE(WaitForWindowGone(open, 60000));
    Sleep(3000);
    lock.Release();
    EXPECT_TRUE(WaitUntil([&] { return progress.Created() != nullptr; }, 60000));
    DWORD_PTR lines = 0;
    EXPECT_TRUE(SendMessageTimeoutA(GetDlgItem(dialog, kLogList), LB_GETCOUNT, 0, 0,
                                    SMTO_ABORTIFHUNG, 2000, &lines));
    EXPECT_EQ(AnswerListBox(dialog, 120000), "120 added, 0 already in the list, 0 unreadable");
    std::printf("%d rows imported in %lu ms\n", kRows, GetTickCount() - start);
    EXPECT_FALSE(IsWindow(progress.Created()));
    EXPECT_EQ(ListLines(dialog, kLogList).size(), size_t(kRows + 1));
}

} // namespace
