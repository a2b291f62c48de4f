// The real configuration dialog of Ringtune.dll under Wine: what it shows, what Save writes and
// every other way out does not, the model rules, and the server lock both ways.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstring>

#include "file_names.h"
#include "ringhold_harness.h"
#include "setup_call_win.h"

namespace {

const char kRestrictedText[] = "Running Editor in Restricted Access Mode\r\rServer is Running!";

// Every control restricted mode disables.
const int kSettings[] = {180, 190,  200,  2000, 2001, 2002, 500, 510, 3000, 3001,
                         210, 1000, 1001, 1002, 1003, 100,  110, 120, 310};
// What stays usable in restricted mode.
const int kAlwaysUsable[] = {220, 230, 250, 130, 140, 160, 170, 330, 320};

std::string ConfigPath() {
    return TestProgramDir().Path(CONFIG_FILE);
}

// A record of 32 bytes and 8 more past it, every reserved and extra byte distinct, so a save
// that touched any of them would show.
std::string StoredConfig(uint8_t portSel, uint8_t model, uint8_t lastLine, uint32_t options) {
    std::string bytes(40, '\0');
    for (size_t i = 8; i < bytes.size(); i++)
        bytes[i] = (char)(0x60 + i);
    bytes[0] = (char)portSel;
    bytes[1] = (char)model;
    bytes[2] = 1;
    bytes[3] = (char)lastLine;
    std::memcpy(&bytes[4], &options, 4);
    std::memset(&bytes[20], 0, 4);
    return bytes;
}

uint32_t OptionsOf(const std::string &bytes) {
    uint32_t options = 0;
    std::memcpy(&options, bytes.data() + 4, 4);
    return options;
}

class RingtuneDialog : public testing::Test {
  protected:
    void SetUp() override { ClearProgramFiles(); }
};

TEST_F(RingtuneDialog, OpensWithTheDefaultsAndCancelWritesNothing) {
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ComboText(dialog, 180), "04");
    EXPECT_EQ(ComboText(dialog, 190), "COM1");
    EXPECT_EQ(SendDlgItemMessageA(dialog, 180, CB_GETCOUNT, 0, 0), 32);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 190, CB_GETCOUNT, 0, 0), 9);
    for (int id : {2000, 3000, 1000})
        EXPECT_TRUE(IsChecked(dialog, id)) << id;
    for (int id : {2001, 2002, 3001, 1001, 1002, 1003, 500, 210, 100, 110, 120})
        EXPECT_FALSE(IsChecked(dialog, id)) << id;
    EXPECT_EQ(ItemText(dialog, 510), "0.0.0.0");
    EXPECT_EQ(FocusOf(call.ThreadId()), GetDlgItem(dialog, 180));
    for (int id : kSettings)
        EXPECT_TRUE(IsEnabled(dialog, id)) << id;

    // A second call while this one runs returns at once instead of opening another dialog.
    EXPECT_EQ(SetupCID(nullptr), 0);

    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
    EXPECT_TRUE(FileExists(ConfigPath()));
    EXPECT_EQ(ReadWholeFile(ConfigPath()), "");
    EXPECT_EQ(ReadWholeFile(TestProgramDir().Path(LOCK_FILE)), std::string(4, '\0'));
    EXPECT_TRUE(DeleteFileA(TestProgramDir().Path(LOCK_FILE).c_str()));
}

TEST_F(RingtuneDialog, SaveWritesEachControlAndKeepsTheOtherBytes) {
    const std::string stored = StoredConfig(1, 0, 4, 0);
    ASSERT_TRUE(WriteWholeFile(ConfigPath(), stored));
    {
        SetupCall call;
        HWND dialog = call.Dialog();
        ASSERT_TRUE(dialog);
        SendDlgItemMessageA(dialog, 190, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "COM3");
        SendDlgItemMessageA(dialog, 180, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "08");
        for (int id : {2002, 500, 1001, 100, 110, 120, 210})
            Press(dialog, id);
        Click(dialog, 310);
        ASSERT_TRUE(call.Returned(10000));
    }
    std::string saved = ReadWholeFile(ConfigPath());
    ASSERT_EQ(saved.size(), stored.size());
    EXPECT_EQ(saved.substr(0, 4), std::string("\x03\x02\x01\x08", 4));
    // Model 2 refreshes at the start only; the filter without an address is off.
    EXPECT_EQ(OptionsOf(saved), 0x2u | 0x10 | 0x200 | 0x400 | 0x800);
    EXPECT_EQ(saved.substr(8), stored.substr(8)); // address 0, reserved and extra bytes as read

    {
        SetupCall call;
        HWND dialog = call.Dialog();
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(IsChecked(dialog, 2002));
        EXPECT_EQ(ComboText(dialog, 190), "COM3");
        Press(dialog, 2000);
        SendDlgItemMessageA(dialog, 190, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "IP UDP/IP");
        SendDlgItemMessageA(dialog, 180, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "32");
        SendDlgItemMessageA(dialog, 510, IPM_SETADDRESS, 0, MAKEIPADDRESS(192, 168, 1, 20));
        EXPECT_EQ(ItemText(dialog, 510), "192.168.1.20");
        for (int id : {500, 1003, 3001})
            Press(dialog, id);
        Click(dialog, 310);
        ASSERT_TRUE(call.Returned(10000));
    }
    saved = ReadWholeFile(ConfigPath());
    ASSERT_EQ(saved.size(), stored.size());
    EXPECT_EQ(saved.substr(0, 4), std::string("\x09\x00\x01\x20", 4));
    EXPECT_EQ(OptionsOf(saved), 0xEu | 0x10 | 0x80 | 0x200 | 0x400 | 0x800 | 0x1000);
    EXPECT_EQ(saved.substr(20, 4), "\xC0\xA8\x01\x14");
    EXPECT_EQ(saved.substr(8, 12), stored.substr(8, 12));
    EXPECT_EQ(saved.substr(24), stored.substr(24));
}

// Cancel, Escape and Enter after changes: the file stays as it was, byte for byte.
TEST_F(RingtuneDialog, NoWayOutButSaveWritesTheFile) {
    const std::string stored = StoredConfig(2, 0, 6, 0x82);
    ASSERT_TRUE(WriteWholeFile(ConfigPath(), stored));
    struct Way {
        const char *name;
        UINT key; // 0: the Cancel button
    } ways[] = {{"Cancel", 0}, {"Escape", VK_ESCAPE}};
    for (const Way &way : ways) {
        SetupCall call;
        HWND dialog = call.Dialog();
        ASSERT_TRUE(dialog) << way.name;
        SendDlgItemMessageA(dialog, 190, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "COM5");
        for (int id : {2001, 1000, 500, 100})
            Press(dialog, id);
        // Enter has no default button to press: the dialog stays open.
        HWND focus = FocusOf(call.ThreadId());
        PostMessageA(focus, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageA(focus, WM_KEYUP, VK_RETURN, 0);
        EXPECT_FALSE(call.Returned(500)) << way.name;
        if (way.key) {
            PostMessageA(focus, WM_KEYDOWN, way.key, 0);
            PostMessageA(focus, WM_KEYUP, way.key, 0);
        } else {
            Click(dialog, 320);
        }
        ASSERT_TRUE(call.Returned(10000)) << way.name;
        EXPECT_EQ(ReadWholeFile(ConfigPath()), stored) << way.name;
    }
}

std::string DataDir() {
    return TestProgramDir().Path("DATA\\");
}

// What keeps Save from writing the file: another program holding it without sharing, a folder
// of its name, no DATA\ at all (the exclusion lists then warn twice before the dialog).
struct SaveBlocker {
    const char *name;
    int listWarnings;
    bool (*block)(ChildProcess &holder);
    void (*unblock)(ChildProcess &holder);
};

const SaveBlocker kSaveBlockers[] = {
    {"held by another program", 0,
     [](ChildProcess &holder) {
         return WriteWholeFile(ConfigPath(), StoredConfig(1, 0, 4, 0)) &&
                HoldUnshared(holder, ConfigPath());
     },
     [](ChildProcess &holder) { holder.Kill(); }},
    {"a folder of its name", 0,
     [](ChildProcess &) { return CreateDirectoryA(ConfigPath().c_str(), nullptr) != 0; },
     [](ChildProcess &) { RemoveDirectoryA(ConfigPath().c_str()); }},
    {"no DATA folder", 2, [](ChildProcess &) { return RemoveDirectoryA(DataDir().c_str()) != 0; },
     [](ChildProcess &) { CreateDirectoryA(DataDir().c_str(), nullptr); }},
};

// Save says it could not write and keeps the dialog open with the user's values; once the file
// can be written, the next Save writes them.
TEST_F(RingtuneDialog, SaveThatCannotWriteSaysSoAndStaysOpen) {
    for (const SaveBlocker &blocker : kSaveBlockers) {
        ClearProgramFiles();
        ChildProcess holder;
        ASSERT_TRUE(blocker.block(holder)) << blocker.name;
        SetupCall call;
        for (int i = 0; i < blocker.listWarnings; i++) {
            HWND warning = WaitForBox("Warning!");
            ASSERT_TRUE(warning) << blocker.name;
            ASSERT_TRUE(PressButton(warning, IDOK)) << blocker.name;
        }
        HWND dialog = call.Dialog();
        ASSERT_TRUE(dialog) << blocker.name;
        SendDlgItemMessageA(dialog, 190, CB_SELECTSTRING, (WPARAM)-1, (LPARAM) "COM5");
        Press(dialog, 2002);
        Click(dialog, 310);
        HWND box = WaitForBoxOwnedBy(dialog);
        ASSERT_TRUE(box) << blocker.name;
        EXPECT_EQ(MessageBoxText(box), "ERROR: Saving Configuration!") << blocker.name;
        char caption[64] = "";
        GetWindowTextA(box, caption, sizeof caption);
        EXPECT_STREQ(caption, "Quorl Vezedud Server Setup") << blocker.name;
        EXPECT_TRUE(ShowsIcon(box, IDI_EXCLAMATION)) << blocker.name;
        ASSERT_TRUE(PressButton(box, IDOK)) << blocker.name;
        // Answered by the dialog's thread once the command has been handled to its end.
        SendMessageA(dialog, WM_NULL, 0, 0);
        EXPECT_TRUE(IsWindowVisible(dialog)) << blocker.name;
        EXPECT_EQ(ComboText(dialog, 190), "COM5") << blocker.name;
        EXPECT_TRUE(IsChecked(dialog, 2002)) << blocker.name;

        blocker.unblock(holder);
        Click(dialog, 310);
        ASSERT_TRUE(call.Returned(10000)) << blocker.name;
        EXPECT_EQ(ReadWholeFile(ConfigPath()).substr(0, 2), std::string("\x05\x02", 2))
            << blocker.name;
    }
}

TEST_F(RingtuneDialog, OtherModelsGiveUpEndOfCallWork) {
    ASSERT_TRUE(WriteWholeFile(ConfigPath(), StoredConfig(1, 0, 4, 0x8E)));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsChecked(dialog, 1003));
    EXPECT_TRUE(IsChecked(dialog, 3001));

    Press(dialog, 2001);
    EXPECT_TRUE(IsChecked(dialog, 1001));
    EXPECT_FALSE(IsChecked(dialog, 1003));
    EXPECT_TRUE(IsChecked(dialog, 3000));
    EXPECT_FALSE(IsChecked(dialog, 3001));
    for (int id : {1002, 1003, 3001})
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;

    Press(dialog, 2000);
    for (int id : {1002, 1003, 3001})
        EXPECT_TRUE(IsEnabled(dialog, id)) << id;
    EXPECT_TRUE(IsChecked(dialog, 1001));
    EXPECT_TRUE(IsChecked(dialog, 3000));
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
}

TEST_F(RingtuneDialog, AStoredOtherModelOpensWithItsRules) {
    ASSERT_TRUE(WriteWholeFile(ConfigPath(), StoredConfig(9, 1, 4, 0x86)));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(IsChecked(dialog, 2001));
    EXPECT_TRUE(IsChecked(dialog, 1001));
    EXPECT_TRUE(IsChecked(dialog, 3000));
    for (int id : {1002, 1003, 3001})
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
}

// The About and Purge Calls buttons open their boxes from the DLL's own resources, owned by the
// dialog. COM8 is mapped nowhere, so the unit query fails at once.
TEST_F(RingtuneDialog, AboutAndPurgeOpenTheirBoxes) {
    ASSERT_TRUE(WriteWholeFile(ConfigPath(), StoredConfig(8, 0, 4, 0)));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    Click(dialog, 330);
    HWND about = WaitForBox("About  (4.10.00)");
    ASSERT_TRUE(about);
    EXPECT_EQ(GetWindow(about, GW_OWNER), dialog);
    EXPECT_EQ(ItemText(about, 250), "Port Error Opening COM8");
    Click(about, 260);
    ASSERT_TRUE(WaitForWindowGone(about, 10000));

    Click(dialog, 170);
    HWND purge = WaitForBox("Purge Log Entries");
    ASSERT_TRUE(purge);
    EXPECT_EQ(GetWindow(purge, GW_OWNER), dialog);
    Click(purge, 200);
    ASSERT_TRUE(WaitForWindowGone(purge, 10000));
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
}

// A server started while the dialog is open finds the lock taken and refuses to start.
TEST_F(RingtuneDialog, HoldsTheServerOffWhileOpen) {
    TestProgramDir().WriteIni(FreeUdpPort());
    TestProgramDir().WriteConfig(MakeConfig(9, 1, 4, 0));
    SetupCall call;
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    Ringhold server(TestProgramDir());
    ASSERT_TRUE(server.Start());
    HWND refusal = FindDialog(server.Process().Id(), "CID Server", 20000);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(MessageBoxText(refusal), "ERROR: Server/Config Allready Running!");
    PressButton(refusal, IDOK);
    EXPECT_TRUE(server.WaitForServer(false, 10000));
    server.Process().Kill();
    Click(dialog, 320);
    ASSERT_TRUE(call.Returned(10000));
}

TEST_F(RingtuneDialog, RestrictedWhileTheServerRuns) {
    TestProgramDir().WriteIni(FreeUdpPort());
    TestProgramDir().WriteConfig(MakeConfig(9, 1, 4, 0));
    const std::string stored = ReadWholeFile(ConfigPath());
    Ringhold server(TestProgramDir());
    ASSERT_TRUE(server.Start());
    ASSERT_TRUE(server.WaitForServer(true, 30000));

    SetupCall call;
    HWND warning = WaitForBox("Server Running");
    ASSERT_TRUE(warning);
    EXPECT_EQ(MessageBoxText(warning), kRestrictedText);
    ASSERT_TRUE(PressButton(warning, IDOK));
    HWND dialog = call.Dialog();
    ASSERT_TRUE(dialog);
    for (int id : kSettings)
        EXPECT_FALSE(IsEnabled(dialog, id)) << id;
    for (int id : kAlwaysUsable)
        EXPECT_TRUE(IsEnabled(dialog, id)) << id;

    // The lists stay editable beside the server.
    Click(dialog, 140);
    HWND add = WaitForBox("Add Phone to Exclude");
    ASSERT_TRUE(add);
    SetDlgItemTextA(add, 100, "555-0101");
    Click(add, IDOK);
    ASSERT_TRUE(WaitForWindowGone(add, 10000));
    EXPECT_EQ(ListLines(dialog, 130), std::vector<std::string>{"5550101"});
    // So does the import from CSV.
    const std::string in = TestProgramDir().Path("restricted.csv");
    ASSERT_TRUE(WriteWholeFile(in, "555-0101\r\n555-0102\r\n"));
    HWND menu = OpenContextMenu(dialog, 130, false);
    ASSERT_TRUE(menu);
    ChooseMenuItem(menu, 0);
    ASSERT_TRUE(AnswerFileDialog("Import from CSV", in));
    HWND imported = WaitForBox("Exclusion List");
    ASSERT_TRUE(imported);
    EXPECT_EQ(MessageBoxText(imported), "1 added, 1 already in the list, 0 unreadable");
    ASSERT_TRUE(PressButton(imported, IDOK));
    EXPECT_EQ(ListLines(dialog, 130).size(), 2u);

    // Save is disabled; a command that reaches it anyway writes nothing.
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(310, BN_CLICKED), 0);
    ASSERT_TRUE(call.Returned(10000));
    EXPECT_EQ(ReadWholeFile(ConfigPath()), stored);
    EXPECT_TRUE(server.WaitForServer(true, 5000));
    EXPECT_TRUE(FileExists(TestProgramDir().Path(LOCK_FILE)));
    EXPECT_TRUE(server.Exit());
}

} // namespace

namespace {

// BackOffice.exe's main window in the process, within 20 s.
HWND BackOfficeWindow(DWORD processId) {
    HWND found = nullptr;
    const bool shown = WaitUntil(
        [&] {
            found = FindProcessWindow(processId, "QuorlBackOffice", nullptr);
            return found && IsWindowVisible(found);
        },
        20000);
    return shown ? found : nullptr;
}

} // namespace

// The back office's button loads Ringtune.dll from the program directory and opens the dialog
// owned by its window; from a folder without the libraries every button says which is missing.
TEST(BackOffice, OpensTheSetupDialogOrSaysTheLibraryIsMissing) {
    ClearProgramFiles();
    const ProgramDir &dir = TestProgramDir();
    {
        ChildProcess office;
        ASSERT_TRUE(office.Start("\"" + dir.Path("BackOffice.exe") + "\"", dir.Dir));
        HWND window = BackOfficeWindow(office.Id());
        ASSERT_TRUE(window);
        PostMessageA(GetDlgItem(window, 100), BM_CLICK, 0, 0);
        HWND dialog = FindDialog(office.Id(), "Quorl Vezedud Server Setup", 15000);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), window);
        PostMessageA(GetDlgItem(dialog, 320), BM_CLICK, 0, 0);
        EXPECT_TRUE(WaitForWindowGone(dialog, 10000));
    }

    const std::string alone = dir.Path("alone\\");
    CreateDirectoryA(alone.c_str(), nullptr);
    CopyFileA(dir.Path("BackOffice.exe").c_str(), (alone + "BackOffice.exe").c_str(), FALSE);
    {
        ChildProcess office;
        ASSERT_TRUE(office.Start("\"" + alone + "BackOffice.exe\"", alone));
        HWND window = BackOfficeWindow(office.Id());
        ASSERT_TRUE(window);
        PostMessageA(GetDlgItem(window, 100), BM_CLICK, 0, 0);
        HWND box = FindDialog(office.Id(), "Back Office", 15000);
        ASSERT_TRUE(box);
        EXPECT_EQ(MessageBoxText(box), "Cannot load Ringtune.dll");
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitForWindowGone(box, 10000));
        // The four report buttons load the reports library the same way.
        for (int id = 101; id <= 104; id++) {
            PostMessageA(GetDlgItem(window, id), BM_CLICK, 0, 0);
            box = FindDialog(office.Id(), "Back Office", 15000);
            ASSERT_TRUE(box) << "button " << id;
            EXPECT_EQ(MessageBoxText(box), "Cannot load Ringtally.dll") << "button " << id;
            PressButton(box, IDOK);
            ASSERT_TRUE(WaitForWindowGone(box, 10000));
        }
    }
    RemoveTree(alone);
}
