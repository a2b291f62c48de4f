// The real Ringhold.exe under test: its hidden window, About box, autostart value, Exit
// question and exports, driven through the same messages the tray and the user produce.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include "ringhold_exports_win.h"
#include "ringhold_harness.h"
#include "shell_control.h"

namespace {

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Halden_Ringhold";
const DWORD kDialogWaitMs = START_WAIT_MS;

// The autostart value's data; "<none>" when it is missing.
std::string RunValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return "<none>";
    char data[4096] = {};
    DWORD size = sizeof data - 1;
    const LONG result =
        RegQueryValueExA(key, kRunValue, nullptr, nullptr, reinterpret_cast<BYTE *>(data), &size);
    RegCloseKey(key);
    return result == ERROR_SUCCESS ? std::string(data) : "<none>";
}

void SetRunValue(const std::string &data) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExA(key, kRunValue, 0, REG_SZ, reinterpret_cast<const BYTE *>(data.c_str()),
                   (DWORD)data.size() + 1);
    RegCloseKey(key);
}

void DeleteRunValue() {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueA(key, kRunValue);
        RegCloseKey(key);
    }
}

bool WaitForRunValue(const std::string &expected) {
    return WaitUntil([&] { return RunValue() == expected; }, kDialogWaitMs);
}

struct AboutBoxTexts {
    std::string Title, Version, Status, Units;
};

// Opens the About box through the menu command, reads its labels and closes it again.
AboutBoxTexts ReadAboutBox(Ringhold &ringhold) {
    PostMessageA(ringhold.Window(), WM_COMMAND, ID_MENU_ABOUT, 0);
    HWND box = FindDialog(ringhold.Process().Id(), "About Caller ID Server", kDialogWaitMs);
    if (!box) {
        ADD_FAILURE() << "no About box";
        return {};
    }
    AboutBoxTexts texts{ItemText(box, 100), ItemText(box, 110), ItemText(box, 120),
                        ItemText(box, 130)};
    PostMessageA(box, WM_COMMAND, IDCLOSE, 0);
    EXPECT_TRUE(WaitForWindowGone(box, kDialogWaitMs)) << "About box did not close";
    return texts;
}

// The date text the About box gives for today, "07 - Dec - 2026".
std::string TodayText() {
    static const char *const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[32];
    wsprintfA(text, "%02d - %s - %04d", now.wDay, months[now.wMonth - 1], now.wYear);
    return text;
}

// Ringhold in a program directory of its own, gone with the test.
class RingholdShell : public ::testing::Test {
  protected:
    ProgramDir dir;
    Ringhold ringhold{dir};
};

} // namespace

TEST_F(RingholdShell, MainWindowIsHiddenWithItsClassAndCaption) {
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    char className[64] = {}, caption[128] = {};
    GetClassNameA(ringhold.Window(), className, sizeof className);
    GetWindowTextA(ringhold.Window(), caption, sizeof caption);
    EXPECT_STREQ(className, "RINGHOLDR");
    EXPECT_STREQ(caption, "Quorl Vezedud Server (Enhanced)");
    EXPECT_FALSE(IsWindowVisible(ringhold.Window()));
    // The system close command only hides the window.
    SendMessageA(ringhold.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(ringhold.Window()));
    EXPECT_FALSE(ringhold.Process().WaitForExit(500));
}

TEST_F(RingholdShell, AboutBoxDuringStartUpSaysNeverAndAfterAFailureNotRunning) {
    ASSERT_TRUE(ringhold.Start());
    // Without a configuration the server thread stops in its start-up on this message, which
    // keeps it "running" but before its main loop.
    HWND failure = FindDialog(ringhold.Process().Id(), "CID Server", kDialogWaitMs);
    ASSERT_TRUE(failure);
    EXPECT_EQ(ItemText(failure, 0xFFFF), "Quorl Config Not Found!");

    const AboutBoxTexts during = ReadAboutBox(ringhold);
    EXPECT_EQ(during.Title, "About Halden Caller ID Server (Quorl)");
    EXPECT_EQ(during.Version, "Server Version = 4.10.01");
    EXPECT_EQ(during.Status, "The Serial caller ID server is starting up (started: Never).");
    EXPECT_EQ(during.Units.rfind("This server is designed to work with the Quorl Vezedud, ", 0),
              0u);
    // The test build names no supplier.
    const std::string dealer = "boxes which are available at your caller-ID dealer";
    EXPECT_EQ(during.Units.find(dealer) + dealer.size(), during.Units.size()) << during.Units;

    PostMessageA(failure, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitForState(ringhold.Window(), RINGHOLD_STOPPED, kDialogWaitMs));
    EXPECT_EQ(ReadAboutBox(ringhold).Status, "The Serial caller ID server is not running.");
}

TEST_F(RingholdShell, AboutBoxOfARunningServerGivesTheLinkAndTodaysStart) {
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    ASSERT_TRUE(WaitForState(ringhold.Window(), RINGHOLD_RUNNING, kDialogWaitMs));
    // The start is recorded when the main loop begins, a while after the flag goes up.
    const std::string started = "The IP caller ID server is running; it started at ";
    std::string status;
    EXPECT_TRUE(WaitUntil(
        [&] {
            status = ReadAboutBox(ringhold).Status;
            return status.rfind(started, 0) == 0;
        },
        kDialogWaitMs))
        << status;
    EXPECT_NE(status.find(" on " + TodayText() + "."), std::string::npos) << status;
}

TEST_F(RingholdShell, AboutBoxOpenedTwiceStaysOneBox) {
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    PostMessageA(ringhold.Window(), WM_COMMAND, ID_MENU_ABOUT, 0);
    HWND box = FindDialog(ringhold.Process().Id(), "About Caller ID Server", kDialogWaitMs);
    ASSERT_TRUE(box);
    // A double click on the tray icon asks for the box too. Sent, not posted: each returns only
    // once handled, and a handler that opened a second modal box would not return in time.
    DWORD_PTR answer = 0;
    EXPECT_TRUE(SendMessageTimeoutA(ringhold.Window(), WM_RINGHOLD_TRAY, 0, WM_LBUTTONDBLCLK,
                                    SMTO_NORMAL, kDialogWaitMs, &answer));
    EXPECT_TRUE(SendMessageTimeoutA(ringhold.Window(), WM_COMMAND, ID_MENU_ABOUT, 0, SMTO_NORMAL,
                                    kDialogWaitMs, &answer));
    EXPECT_EQ(FindDialog(ringhold.Process().Id(), "About Caller ID Server", 0), box);
    PostMessageA(box, WM_COMMAND, IDCLOSE, 0);
    ASSERT_TRUE(WaitForWindowGone(box, kDialogWaitMs));
    Sleep(500);
    EXPECT_EQ(FindDialog(ringhold.Process().Id(), "About Caller ID Server", 0), nullptr)
        << "a second box was queued behind the first";
}

// Paths of 298 characters or more, stored bare, are covered by ringhold_deep_path_test.sh:
// Wine starts programs that deep only from the Linux side.
TEST_F(RingholdShell, LaunchAtSystemBootAddsThenRemovesTheQuotedPath) {
    DeleteRunValue();
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    const std::string steps[] = {"\"" + dir.Path("Ringhold.exe") + "\"", "<none>",
                                 "\"" + dir.Path("Ringhold.exe") + "\"", "<none>"};
    for (const std::string &expected : steps) {
        PostMessageA(ringhold.Window(), WM_COMMAND, ID_MENU_BOOT_LAUNCH, 0);
        EXPECT_TRUE(WaitForRunValue(expected)) << RunValue();
    }
}

TEST_F(RingholdShell, AValueLongerThanTheQueryBufferCountsAsSet) {
    DeleteRunValue();
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    SetRunValue("C:\\" + std::string(400, 'x') + "\\Ringhold.exe");
    // Set, so choosing the item removes it rather than writing it again.
    PostMessageA(ringhold.Window(), WM_COMMAND, ID_MENU_BOOT_LAUNCH, 0);
    EXPECT_TRUE(WaitForRunValue("<none>")) << RunValue();
}

TEST_F(RingholdShell, ExitAnsweredNoKeepsRunningAndYesStopsTheServerAndEnds) {
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    ASSERT_TRUE(WaitForState(ringhold.Window(), RINGHOLD_RUNNING, kDialogWaitMs));
    const struct {
        int Answer;
        bool Ends;
    } answers[] = {{IDNO, false}, {IDYES, true}};
    for (const auto &a : answers) {
        PostMessageA(ringhold.Window(), WM_COMMAND, ID_MENU_EXIT, 0);
        HWND quit = FindDialog(ringhold.Process().Id(), "Quit?", kDialogWaitMs);
        ASSERT_TRUE(quit);
        EXPECT_EQ(ItemText(quit, 0xFFFF), "Unload server and remove its icon from the task tray?");
        EXPECT_EQ(GetWindow(quit, GW_OWNER), ringhold.Window());
        PostMessageA(quit, WM_COMMAND, a.Answer, 0);
        ASSERT_TRUE(WaitForWindowGone(quit, kDialogWaitMs));
        EXPECT_EQ(ringhold.Process().WaitForExit(a.Ends ? STOP_WAIT_MS : 2000), a.Ends) << a.Answer;
    }
    EXPECT_EQ(ringhold.Process().ExitCode(), 0u);
    // The server's shutdown ran before the program ended: its lock file is gone.
    EXPECT_EQ(GetFileAttributesA((dir.Dir + "CONTROL\\Quorl.LCK").c_str()),
              INVALID_FILE_ATTRIBUTES);
}

TEST_F(RingholdShell, LogOffQueryStopsTheServerAndLetsWindowsGoOn) {
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    ASSERT_TRUE(WaitForState(ringhold.Window(), RINGHOLD_RUNNING, kDialogWaitMs));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(ringhold.Window(), WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL,
                                    STOP_WAIT_MS, &answer));
    EXPECT_EQ(answer, (DWORD_PTR)TRUE);
    EXPECT_EQ(AskRingholdState(ringhold.Window(), kDialogWaitMs), RINGHOLD_STOPPED);
    EXPECT_EQ(GetFileAttributesA((dir.Dir + "CONTROL\\Quorl.LCK").c_str()),
              INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(ringhold.Process().WaitForExit(0))
        << "the program ends with the log-on, not before";
}

// Ringhold's tray icon as the shell knows it: its window and the instance handle as the id.
NOTIFYICONDATAA TrayIconOf(HWND window) {
    NOTIFYICONDATAA icon{};
    icon.cbSize = NOTIFYICONDATAA_V1_SIZE;
    icon.hWnd = window;
    icon.uID = (UINT)GetWindowLongPtrA(window, GWLP_HINSTANCE);
    return icon;
}

// A modify succeeds only for an icon the tray holds.
bool TrayHoldsIcon(HWND window) {
    NOTIFYICONDATAA icon = TrayIconOf(window);
    return Shell_NotifyIconA(NIM_MODIFY, &icon) != FALSE;
}

// A restarted taskbar has lost every icon and broadcasts "TaskbarCreated"; without its icon the
// owner could no longer stop or end Ringhold.
TEST_F(RingholdShell, TrayIconIsAddedAgainWhenTheTaskbarIsRecreated) {
    dir.WriteUdpServerSetup();
    ASSERT_TRUE(ringhold.Start());
    ASSERT_TRUE(WaitUntil([&] { return TrayHoldsIcon(ringhold.Window()); }, kDialogWaitMs));

    NOTIFYICONDATAA icon = TrayIconOf(ringhold.Window());
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    ASSERT_FALSE(TrayHoldsIcon(ringhold.Window()));
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutA(ringhold.Window(), RegisterWindowMessageA("TaskbarCreated"), 0,
                                    0, SMTO_NORMAL, kDialogWaitMs, &answer));
    EXPECT_TRUE(WaitUntil([&] { return TrayHoldsIcon(ringhold.Window()); }, kDialogWaitMs));

    // A re-creation message while the icon is still there leaves exactly one icon.
    ASSERT_TRUE(SendMessageTimeoutA(ringhold.Window(), RegisterWindowMessageA("TaskbarCreated"), 0,
                                    0, SMTO_NORMAL, kDialogWaitMs, &answer));
    EXPECT_TRUE(TrayHoldsIcon(ringhold.Window()));
    ASSERT_TRUE(Shell_NotifyIconA(NIM_DELETE, &icon));
    EXPECT_FALSE(TrayHoldsIcon(ringhold.Window())) << "the icon was in the tray twice";
}

TEST(RingholdExports, PlainNamesInTheProgram) {
    // Only looked up: code of an executable loaded as a library cannot run.
    HMODULE exe = LoadLibraryExA((BuildBinDir() + "Ringhold.exe").c_str(), nullptr,
                                 DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_TRUE(exe);
    EXPECT_TRUE(GetProcAddress(exe, "INITCOMCTL32"));
    EXPECT_TRUE(GetProcAddress(exe, "GETSYSFILEVER"));
    FreeLibrary(exe);
}

TEST(RingholdExports, SystemFileVersionAsMajorPlusMinorHundredths) {
    const double comctl = GETSYSFILEVER("COMCTL32.DLL");
    EXPECT_GE(comctl, 5.0);
    EXPECT_EQ(INITCOMCTL32(0), comctl);
    EXPECT_EQ(INITCOMCTL32(0x4), comctl);
    EXPECT_EQ(GETSYSFILEVER("comctl32.dll"), comctl);
    EXPECT_EQ(GETSYSFILEVER("no-such-file.dll"), 0.0);
    // A file without version data.
    EXPECT_EQ(GETSYSFILEVER("..\\win.ini"), 0.0);
}
