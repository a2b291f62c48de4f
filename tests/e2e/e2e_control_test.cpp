// Stopping, restarting and ending a running Ringhold the ways the user and Windows do: the
// Running and Exit menu commands and the log-off query.
#include <gtest/gtest.h>

#include <cctype>

#include "e2e_session.h"
#include "file_names.h"
#include "record_text.h"
#include "shell_control.h"

namespace {

bool IsClockTime(const std::string &text) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':')
        return false;
    for (size_t i : {0, 1, 3, 4, 6, 7})
        if (!std::isdigit((unsigned char)text[i]))
            return false;
    return true;
}

// Every line of 1..last shows "SERVER" / "OFFLINE" with one and the same time of day.
void ExpectOffline(const ProgramDir &dir, int last) {
    StationDisplayRecord first;
    ASSERT_TRUE(ReadDisplayRecord(dir, 1, first));
    std::string time = GetTextNul(first.Time);
    EXPECT_TRUE(IsClockTime(time)) << time;
    for (int line = 1; line <= last; line++) {
        StationDisplayRecord shown;
        ASSERT_TRUE(ReadDisplayRecord(dir, line, shown));
        EXPECT_TRUE(SameRecord(shown, MakeDisplayRecord("SERVER", "OFFLINE", time)))
            << "line " << line << ": " << GetTextNul(shown.Number) << " " << GetTextNul(shown.Name)
            << " " << GetTextNul(shown.Time);
    }
}

bool WaitForOffline(const ProgramDir &dir, int last) {
    return WaitUntil(
        [&] {
            StationDisplayRecord shown;
            return ReadDisplayRecord(dir, last, shown) && GetTextNul(shown.Number) == "SERVER";
        },
        STOP_WAIT_MS);
}

TEST(Control, RunningOffStopsCleanlyAndOnReadsTheConfigurationAgain) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, 0)));

    session.Server.Command(ID_MENU_RUNNING);
    ASSERT_TRUE(WaitForOffline(session.Dir, 4));
    ASSERT_TRUE(session.Server.WaitForServer(false, STOP_WAIT_MS));
    ExpectOffline(session.Dir, 4);
    EXPECT_TRUE(session.Dir.LockFiles().empty());

    // A configuration changed while stopped is the one the next start uses.
    session.Dir.WriteConfig(MakeConfig(PORT_UDP, 1, 6, 0));
    session.Server.Command(ID_MENU_RUNNING);
    for (int line = 1; line <= 6; line++)
        EXPECT_TRUE(WaitForDisplay(session.Dir, line, WaitingRecord(), START_WAIT_MS))
            << "line " << line;
    EXPECT_TRUE(session.Server.WaitForServer(true, START_WAIT_MS));
    EXPECT_EQ(session.Dir.LockFiles().size(), 7u); // Quorl.LCK and six lines
    EXPECT_TRUE(FileExists(session.Dir.Path(CONTROL_DIR "LINE06.LCK")));
}

TEST(Control, ExitAnsweredNoKeepsRunningAndYesEndsTheProgram) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 3, 0)));

    session.Server.Command(ID_MENU_EXIT);
    HWND box = FindMessageBox(session.Server.Process().Id(), "Quit?", START_WAIT_MS);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box), "Unload server and remove its icon from the task tray?");
    ASSERT_TRUE(PressButton(box, IDNO));
    EXPECT_TRUE(session.Server.WaitForServer(true, START_WAIT_MS));
    const TestCall call{3, 'I', 'S', "555-123-0003", "STILL RUNNING"};
    session.PlayCalls({call});
    EXPECT_TRUE(WaitForDisplay(session.Dir, 3, CallRecord(call), CALLS_WAIT_MS));

    ASSERT_TRUE(session.Server.Exit());
    EXPECT_EQ(session.Server.Process().ExitCode(), 0u);
    ExpectOffline(session.Dir, 3);
    EXPECT_TRUE(session.Dir.LockFiles().empty());
}

TEST(Control, LogOffQueryStopsTheServer) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 2, 0)));

    DWORD_PTR answer = 0;
    SendMessageTimeoutA(session.Server.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF,
                        SMTO_NORMAL, STOP_WAIT_MS, &answer);
    EXPECT_NE(answer, 0u); // Windows may go on with the log-off
    ASSERT_TRUE(WaitForOffline(session.Dir, 2));
    ExpectOffline(session.Dir, 2);
    EXPECT_TRUE(session.Dir.LockFiles().empty());
    EXPECT_TRUE(session.Server.WaitForServer(false, START_WAIT_MS));
}

} // namespace
