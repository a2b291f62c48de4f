// Ringhold's start-up as the user meets it: the exact message of each failure, the lock files it
// leaves, the single-instance lock, and the option set-up of a model 0 unit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <ostream>

#include "e2e_session.h"
#include "file_names.h"

namespace {

const char CAPTION[] = "CID Server";
const char INIT_WARNING[] = "ERROR: Initing Quorl Vezedud Box!\r  Unexpected results may occur.";

std::vector<std::string> Sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

// The text of the start-up message the server shows; closes it with OK.
std::string TakeStartupMessage(Ringhold &server) {
    HWND box = FindMessageBox(server.Process().Id(), CAPTION, START_WAIT_MS);
    if (!box)
        return "(no message box)";
    std::string text = MessageBoxText(box);
    EXPECT_TRUE(PressButton(box, IDOK));
    return text;
}

bool LockIsHeldByAnother(const ProgramDir &dir) {
    return FileExists(dir.Path(LOCK_FILE)) && !HeldFile(dir.Path(LOCK_FILE)).Held();
}

struct StartupFailure {
    const char *Name;
    // Prepares the program directory; what it returns (a held file, a bound port) lives until
    // the server has given up.
    std::shared_ptr<void> (*Prepare)(Session &session);
    std::string Message;
    std::vector<std::string> LocksLeft;
};

void WriteSetup(Session &session, const CidConfig &cfg) {
    session.Dir.WriteIni(session.UdpPort);
    session.Dir.WriteConfig(cfg);
}

const StartupFailure FAILURES[] = {
    {"NoConfiguration",
     [](Session &s) -> std::shared_ptr<void> {
         s.Dir.WriteIni(s.UdpPort);
         return nullptr;
     },
     "Quorl Config Not Found!",
     {}},
    {"EmptyConfiguration",
     [](Session &s) -> std::shared_ptr<void> {
         s.Dir.WriteIni(s.UdpPort);
         WriteWholeFile(s.Dir.Path(CONFIG_FILE), "");
         return nullptr;
     },
     "ERROR: Reading Configuration!",
     {}},
    {"NoLinkSelected",
     [](Session &s) -> std::shared_ptr<void> {
         WriteSetup(s, MakeConfig(0, 1, 4, 0));
         return nullptr;
     },
     "ERROR: Reading Configuration!",
     {}},
    {"LineLockHeldElsewhere",
     [](Session &s) -> std::shared_ptr<void> {
         WriteSetup(s, MakeConfig(PORT_UDP, 1, 4, 0));
         return std::make_shared<HeldFile>(s.Dir.Path(CONTROL_DIR "LINE03.LCK"));
     },
     "ERROR: Cannot Lock Lines 1 Thru 4!",
     {"LINE03.LCK"}},
    {"NoSuchComPort",
     [](Session &s) -> std::shared_ptr<void> {
         WriteSetup(s, MakeConfig(7, 1, 4, 0));
         return nullptr;
     },
     "ERROR: Opening COM7",
     {}},
    {"UdpPortTaken",
     [](Session &s) -> std::shared_ptr<void> {
         auto taken = std::make_shared<BoundUdpPort>();
         s.UdpPort = taken->Port();
         WriteSetup(s, MakeConfig(PORT_UDP, 1, 4, 0));
         return taken;
     },
     "ERROR: Opening IP Connection",
     {}},
};

std::ostream &operator<<(std::ostream &out, const StartupFailure &failure) {
    return out << failure.Name;
}

class StartupFails : public ::testing::TestWithParam<StartupFailure> {};

TEST_P(StartupFails, ShowsItsMessageAndLeavesOnlyTheLocksOfOthers) {
    const StartupFailure &failure = GetParam();
    Session session;
    std::shared_ptr<void> held = failure.Prepare(session);
    ASSERT_TRUE(session.Server.Start());

    EXPECT_EQ(TakeStartupMessage(session.Server), failure.Message);
    ASSERT_TRUE(session.Server.WaitForServer(false, START_WAIT_MS));
    EXPECT_EQ(Sorted(session.Dir.LockFiles()), failure.LocksLeft);
    EXPECT_FALSE(FileExists(session.Dir.Path(DISPLAY_FILE)));
    // The program stays in the tray with the server stopped.
    EXPECT_TRUE(session.Server.Process().IsRunning());
    EXPECT_TRUE(session.Server.Exit());
}

INSTANTIATE_TEST_SUITE_P(Startup, StartupFails, ::testing::ValuesIn(FAILURES),
                         [](const ::testing::TestParamInfo<StartupFailure> &info) {
                             return std::string(info.param.Name);
                         });

TEST(Startup, StaleLockFilesAreTakenOver) {
    Session session;
    WriteWholeFile(session.Dir.Path(LOCK_FILE), "left behind");
    WriteWholeFile(session.Dir.Path(CONTROL_DIR "LINE02.LCK"), "left behind");
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, 0)));
    EXPECT_TRUE(LockIsHeldByAnother(session.Dir));
    EXPECT_FALSE(HeldFile(session.Dir.Path(CONTROL_DIR "LINE02.LCK")).Held());
    EXPECT_EQ(Sorted(session.Dir.LockFiles()),
              (std::vector<std::string>{"LINE01.LCK", "LINE02.LCK", "LINE03.LCK", "LINE04.LCK",
                                        "Quorl.LCK"}));
}

TEST(Startup, SecondInstanceIsRefusedAndLeavesTheFirstAlone) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 2, CFG_RAW_OUTPUT)));

    Ringhold second(session.Dir);
    ASSERT_TRUE(second.Start());
    EXPECT_EQ(TakeStartupMessage(second), "ERROR: Server/Config Allready Running!");
    ASSERT_TRUE(second.WaitForServer(false, START_WAIT_MS));
    EXPECT_TRUE(second.Exit());

    EXPECT_TRUE(session.Server.WaitForServer(true, START_WAIT_MS));
    EXPECT_TRUE(LockIsHeldByAnother(session.Dir));
    const TestCall call{2, 'I', 'S', "555-123-0002", "STILL SERVED"};
    session.PlayCalls({call});
    EXPECT_TRUE(WaitForDisplay(session.Dir, 2, CallRecord(call), CALLS_WAIT_MS));
}

// The option set-up of a model 0 unit over UDP: the unit's address is known only with the
// filter on, and a filter address of 0 cannot be asked.
struct UdpSetupCase {
    const char *Name;
    uint32_t Options;
    bool Warns;
};

std::ostream &operator<<(std::ostream &out, const UdpSetupCase &setup) {
    return out << setup.Name;
}

class UdpUnitSetup : public ::testing::TestWithParam<UdpSetupCase> {};

TEST_P(UdpUnitSetup, WarnsOnlyWhenTheUnitCannotBeAsked) {
    Session session;
    WriteSetup(session, MakeConfig(PORT_UDP, 0, 2, GetParam().Options));
    ASSERT_TRUE(session.Server.Start());
    if (GetParam().Warns) {
        EXPECT_EQ(TakeStartupMessage(session.Server), INIT_WARNING);
    }
    // The warning comes before the lines are shown waiting: after that, none can come.
    ASSERT_TRUE(WaitForDisplay(session.Dir, 2, WaitingRecord(), START_WAIT_MS));
    EXPECT_EQ(FindMessageBox(session.Server.Process().Id(), CAPTION, 0), nullptr);
    EXPECT_TRUE(session.Server.WaitForServer(true, START_WAIT_MS));
    EXPECT_TRUE(LockIsHeldByAnother(session.Dir));
}

INSTANTIATE_TEST_SUITE_P(Startup, UdpUnitSetup,
                         ::testing::Values(UdpSetupCase{"FilterOffSendsNothing", 0, false},
                                           UdpSetupCase{"FilterOnWithoutAddress",
                                                        CFG_FILTER_UNIT_IP, true}),
                         [](const ::testing::TestParamInfo<UdpSetupCase> &info) {
                             return std::string(info.param.Name);
                         });

// The option set-up of a model 0 unit on the serial link, seen from the unit's command log.
struct SerialSetupCase {
    const char *Name;
    const char *UnitArguments;
    bool Warns;
    const char *Commands; // what the unit received, one command a line
};

const SerialSetupCase SERIAL_SETUPS[] = {
    {"UnitAlreadySetUp", "", false, "V\n"},
    {"UnitGetsEveryOption", "--options \"\"", false,
     "V\noption E\noption C\noption X\noption U\noption D\noption A\noption S\noption o\n"
     "option B\noption K\noption t\nV\n"},
    {"SilentUnit", "--silent", true, nullptr},
};

std::ostream &operator<<(std::ostream &out, const SerialSetupCase &setup) {
    return out << setup.Name;
}

class SerialUnitSetup : public ::testing::TestWithParam<SerialSetupCase> {
  protected:
    void SetUp() override {
        int server, unit;
        if (!SerialPair(server, unit))
            GTEST_SKIP() << "the serial pair is set up by ringhold_e2e_linux_test";
    }
};

// The commands in the simulator's log, without its other lines.
std::string UnitCommands(const std::string &log) {
    std::string commands;
    for (size_t at = 0; (at = log.find("serial ", at)) != std::string::npos;) {
        size_t end = log.find_first_of("\r\n", at);
        std::string command = log.substr(at + 7, end - at - 7);
        if (command.compare(0, 5, "open ") != 0)
            commands += command + "\n";
        at = end;
    }
    return commands;
}

TEST_P(SerialUnitSetup, SendsOptionsOnlyWhenTheUnitLacksThem) {
    const SerialSetupCase &setup = GetParam();
    Session session(LinkKind::Serial);
    std::string log = session.Dir.Path("unit.log");
    UnitSimulator unit(session.LinkArguments() + " " + setup.UnitArguments + " --log \"" + log +
                       "\"");
    ASSERT_TRUE(unit.Running());
    CidConfig cfg = MakeConfig((uint8_t)session.ServerCom, 0, 2, 0);
    WriteSetup(session, cfg);
    ASSERT_TRUE(session.Server.Start());
    if (setup.Warns) {
        EXPECT_EQ(TakeStartupMessage(session.Server), INIT_WARNING);
    }
    ASSERT_TRUE(WaitForDisplay(session.Dir, 2, WaitingRecord(), START_WAIT_MS));
    EXPECT_EQ(FindMessageBox(session.Server.Process().Id(), CAPTION, 0), nullptr);
    unit.Stop();
    if (setup.Commands) {
        EXPECT_EQ(UnitCommands(ReadWholeFile(log)), setup.Commands);
    }

    // The server runs with the unit as it is.
    const TestCall call{1, 'I', 'S', "555-123-0001", "AFTER SETUP"};
    session.PlayCalls({call});
    EXPECT_TRUE(WaitForDisplay(session.Dir, 1, CallRecord(call), CALLS_WAIT_MS));
}

INSTANTIATE_TEST_SUITE_P(Startup, SerialUnitSetup, ::testing::ValuesIn(SERIAL_SETUPS),
                         [](const ::testing::TestParamInfo<SerialSetupCase> &info) {
                             return std::string(info.param.Name);
                         });

} // namespace
