// RingSetup.exe run silently under Wine: what it installs and registers, the outside libraries it
// updates or leaves alone, files in use, an upgrade over a running server, and the uninstaller.
#include <gtest/gtest.h>
#include <shlobj.h>

#include "file_names.h"
#include "ringhold_harness.h"
#include "shell_control.h"

namespace {

// Stopping a running server alone may take the shell's minute-long stop wait.
const DWORD SETUP_WAIT_MS = 240000;

const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kRunValue[] = "Halden_Ringhold";
const char kSyncRunValue[] = "Ringsync";
const char kSyncWindowClass[] = "RINGSYNCW";
const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Halden_Ringhold";
const DWORD kExitFilesInUse = 3;

const char *const kOurModules[] = {"Ringhold.exe", "Ringtune.dll", "Ringtally.dll"};
const char *const kOutsideLibraries[] = {"KEYFILE.dll", "Pantry.dll", "Cfgvault.dll",
                                         "PRNVIEW32.dll", "Reptopt.dll"};
const char *const kDataFiles[] = {CONFIG_FILE, CALL_LOG_FILE, EXCL_LOG_FILE, EXCL_SHOW_FILE};

bool ReadUserValue(const char *key, const char *name, std::string &value) {
    char data[1024] = {};
    DWORD size = sizeof data - 1;
    if (RegGetValueA(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, data, &size) !=
        ERROR_SUCCESS)
        return false;
    value = data;
    return true;
}

bool UninstallKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::string ShortcutPath(const std::string &name) {
    char programs[MAX_PATH] = {};
    SHGetFolderPathA(nullptr, CSIDL_PROGRAMS, nullptr, 0, programs);
    return std::string(programs) + "\\Halden Caller ID\\" + name;
}

bool IsFolder(const std::string &path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string Built(const std::string &name) {
    return ReadWholeFile(BuildBinDir() + name);
}

// An empty folder to install into, with no trace of an earlier install in the registry; the
// registry is cleaned again when it goes, whatever the test left.
class SetupTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ForgetInstall();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        Dir = std::string(temp) + "ring setup " + std::to_string(GetCurrentProcessId()) + "-" +
              std::to_string(GetTickCount()) + "\\";
        ASSERT_TRUE(CreateDirectoryA(Dir.c_str(), nullptr));
    }
    void TearDown() override {
        RemoveTree(Dir);
        ForgetInstall();
    }
    static void ForgetInstall() {
        RegDeleteTreeA(HKEY_CURRENT_USER, kUninstallKey);
        HKEY run = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, &run) == ERROR_SUCCESS) {
            RegDeleteValueA(run, kRunValue);
            RegDeleteValueA(run, kSyncRunValue);
            RegCloseKey(run);
        }
    }

    // The folder as /D= takes it: no trailing backslash, no quotes even with spaces.
    std::string InstallDir() const { return Dir.substr(0, Dir.size() - 1); }

    // Runs the installer silently in `process` (kept by the caller: a server the installer
    // starts again belongs to its job) and returns its exit code.
    DWORD Setup(ChildProcess &process, const std::string &options = "") {
        const std::string command =
            "\"" + BuildBinDir() + "RingSetup.exe\" /S " + options + " /D=" + InstallDir();
        if (!process.Start(command, BuildBinDir()) || !process.WaitForExit(SETUP_WAIT_MS))
            return 0xFFFFFFFF;
        return process.ExitCode();
    }
    DWORD Setup(const std::string &options = "") {
        ChildProcess process;
        return Setup(process, options);
    }

    // The uninstaller copies itself away and returns at once; it is done when its entry goes.
    bool Uninstall(const std::string &options = "") {
        ChildProcess process;
        const std::string command = "\"" + Dir + "RingUninstall.exe\" /S " + options;
        return process.Start(command, BuildBinDir()) &&
               WaitUntil([] { return !UninstallKeyExists(); }, SETUP_WAIT_MS) &&
               WaitUntil([&] { return !FileExists(Dir + "RingUninstall.exe"); }, SETUP_WAIT_MS);
    }

    void PutFixture(const char *fixture, const char *library) const {
        ASSERT_TRUE(CopyFileA((BuildBinDir() + fixture).c_str(), (Dir + library).c_str(), FALSE));
    }

    std::string Dir; // ends in a backslash
};

// One inbound call on line 1 played at the server's UDP port.
void PlayCall(const ProgramDir &dir, int udpPort, const std::string &number) {
    const std::string scenario = dir.Path("call.txt");
    WriteWholeFile(scenario, "call line=1,dir=I,event=S,number=" + number + ",name=\"CALLER\"\n");
    UnitSimulator sim("--udp 127.0.0.1:" + std::to_string(udpPort) + " --scenario \"" + scenario +
                      "\" --exit-after 300");
    ASSERT_TRUE(sim.WaitForEnd(CALLS_WAIT_MS));
}

bool WaitForLogSize(const ProgramDir &dir, size_t count) {
    return WaitUntil([&] { return ReadCallLog(dir).size() == count; }, CALLS_WAIT_MS);
}

bool WaitForRunningServer() {
    return WaitUntil(
        [] {
            HWND window = FindWindowA(RINGHOLD_WINDOW_CLASS, nullptr);
            return window != nullptr && AskRingholdState(window, 1000) == RINGHOLD_RUNNING;
        },
        START_WAIT_MS);
}

std::vector<std::string> DataSnapshot(const ProgramDir &dir) {
    std::vector<std::string> bytes;
    for (const char *name : kDataFiles)
        bytes.push_back(ReadWholeFile(dir.Path(name)));
    return bytes;
}

// A fresh install, a call taken by the installed server, an upgrade over it while it runs, and
// an uninstall that keeps the restaurant's data.
TEST_F(SetupTest, InstallsTakesACallUpgradesOverTheRunningServerAndUninstallsKeepingData) {
    ASSERT_EQ(Setup(), 0u);

    for (const char *name : kOurModules)
        EXPECT_EQ(ReadWholeFile(Dir + name), Built(name)) << name;
    for (const char *name : kOutsideLibraries)
        EXPECT_EQ(ReadWholeFile(Dir + name), Built(name)) << name;
    EXPECT_TRUE(FileExists(Dir + "RingUninstall.exe"));
    EXPECT_FALSE(FileExists(Dir + "BackOffice.exe")) << "the demo is not chosen by default";
    EXPECT_TRUE(IsFolder(Dir + "DATA"));
    EXPECT_TRUE(IsFolder(Dir + "CONTROL"));
    std::string value;
    ASSERT_TRUE(ReadUserValue(kRunKey, kRunValue, value));
    EXPECT_EQ(value, "\"" + Dir + "Ringhold.exe\"") << "as the tray menu writes it";
    ASSERT_TRUE(ReadUserValue(kUninstallKey, "UninstallString", value));
    EXPECT_EQ(value, "\"" + Dir + "RingUninstall.exe\"");
    EXPECT_TRUE(ReadUserValue(kUninstallKey, "DisplayName", value));
    EXPECT_TRUE(FileExists(ShortcutPath("Ringhold.lnk")));
    EXPECT_FALSE(FileExists(ShortcutPath("Back Office (demo).lnk")));

    ProgramDir dir(Dir);
    const int port = FreeUdpPort();
    dir.WriteIni(port);
    dir.WriteConfig(MakeConfig(PORT_UDP, 1, 4, CFG_LOGGING | CFG_EXCL_LOG | CFG_EXCL_SHOW));
    ASSERT_TRUE(CreateExclusionList(dir.Path(EXCL_LOG_FILE), {"5559990000"}));
    ASSERT_TRUE(CreateExclusionList(dir.Path(EXCL_SHOW_FILE), {"5558880000"}));
    Ringhold first(dir);
    ASSERT_TRUE(first.Start());
    ASSERT_TRUE(WaitForLinesWaiting(dir, 1, 4, START_WAIT_MS));
    PlayCall(dir, port, "555-123-4567");
    ASSERT_TRUE(WaitForLogSize(dir, 1));
    const std::vector<std::string> before = DataSnapshot(dir);

    // Damaged in between, so the upgrade must write it for it to come out right.
    ASSERT_TRUE(WriteWholeFile(Dir + "Ringtally.dll", "damaged"));
    ChildProcess upgrade;
    ASSERT_EQ(Setup(upgrade), 0u);
    EXPECT_TRUE(first.Process().WaitForExit(STOP_WAIT_MS)) << "the old server was ended";
    EXPECT_EQ(ReadWholeFile(Dir + "Ringtally.dll"), Built("Ringtally.dll"));
    EXPECT_EQ(DataSnapshot(dir), before) << "call log, exclusion lists and configuration";
    EXPECT_TRUE(ReadUserValue(kRunKey, kRunValue, value)) << "an upgrade keeps the autostart";
    ASSERT_TRUE(WaitForRunningServer()) << "the upgrade starts the server again";
    ASSERT_TRUE(WaitForLinesWaiting(dir, 1, 4, START_WAIT_MS));
    PlayCall(dir, port, "555-765-4321");
    ASSERT_TRUE(WaitForLogSize(dir, 2));

    ASSERT_TRUE(Uninstall());
    EXPECT_EQ(FindWindowA(RINGHOLD_WINDOW_CLASS, nullptr), nullptr) << "the server was ended";
    EXPECT_FALSE(ReadUserValue(kRunKey, kRunValue, value));
    EXPECT_FALSE(FileExists(ShortcutPath("Ringhold.lnk")));
    for (const char *name : kOurModules)
        EXPECT_FALSE(FileExists(Dir + name)) << name;
    for (const char *name : kOutsideLibraries)
        EXPECT_FALSE(FileExists(Dir + name)) << name;
    EXPECT_FALSE(IsFolder(Dir + "CONTROL"));
    for (const char *name : kDataFiles)
        EXPECT_TRUE(FileExists(dir.Path(name))) << name;
    EXPECT_EQ(ReadCallLog(dir).size(), 2u);
}

// The background sync of the folder; null when none runs.
HWND SyncWindow() {
    return FindWindowA(kSyncWindowClass, nullptr);
}

DWORD SyncProcessId() {
    DWORD id = 0;
    if (HWND window = SyncWindow())
        GetWindowThreadProcessId(window, &id);
    return id;
}

// Settings a background sync keeps running with: a server nobody listens at, so every pass fails
// and the program waits for the next one.
void WriteSyncSettings(const std::string &dir) {
    const std::string ini = dir + INI_FILE;
    ASSERT_TRUE(WriteWholeFile(
        ini, ReadWholeFile(ini) + "\r\n[CIDSync]\r\n"
                                  "Connection=Driver={PostgreSQL Unicode};Server=127.0.0.1;Port=9;"
                                  "Database=calls;Uid=store\r\nSite=store-1\r\nInterval=3600\r\n"));
}

// The head-office sync: left out unless chosen; chosen, installed and started at logon; stopped
// before an upgrade replaces it and started again after; stopped and removed by the uninstaller.
TEST_F(SetupTest, HeadOfficeSyncIsChosenStoppedAroundAnUpgradeAndUninstalled) {
    ASSERT_EQ(Setup(), 0u);
    std::string value;
    EXPECT_FALSE(FileExists(Dir + "Ringsync.exe")) << "off by default";
    EXPECT_FALSE(ReadUserValue(kRunKey, kSyncRunValue, value));

    ASSERT_EQ(Setup("/SYNC=yes"), 0u);
    EXPECT_EQ(ReadWholeFile(Dir + "Ringsync.exe"), Built("Ringsync.exe"));
    ASSERT_TRUE(ReadUserValue(kRunKey, kSyncRunValue, value));
    EXPECT_EQ(value, "\"" + Dir + "Ringsync.exe\"");

    ProgramDir dir(Dir);
    dir.WriteIni(FreeUdpPort());
    WriteSyncSettings(Dir);
    ChildProcess sync;
    ASSERT_TRUE(sync.Start("\"" + Dir + "Ringsync.exe\"", Dir));
    ASSERT_TRUE(WaitUntil([] { return SyncWindow() != nullptr; }, START_WAIT_MS));
    const DWORD before = SyncProcessId();

    ChildProcess upgrade; // the sync it starts again belongs to its job
    ASSERT_EQ(Setup(upgrade), 0u);
    EXPECT_TRUE(sync.WaitForExit(STOP_WAIT_MS)) << "the running sync was stopped";
    EXPECT_EQ(ReadWholeFile(Dir + "Ringsync.exe"), Built("Ringsync.exe"));
    EXPECT_TRUE(ReadUserValue(kRunKey, kSyncRunValue, value)) << "an upgrade keeps the sync";
    ASSERT_TRUE(
        WaitUntil([&] { return SyncProcessId() != 0 && SyncProcessId() != before; }, START_WAIT_MS))
        << "the upgrade starts the sync again";

    ASSERT_TRUE(Uninstall());
    EXPECT_EQ(SyncWindow(), nullptr) << "the sync was stopped";
    EXPECT_FALSE(FileExists(Dir + "Ringsync.exe"));
    EXPECT_FALSE(ReadUserValue(kRunKey, kSyncRunValue, value));
}

// Asked to, the uninstaller deletes our data files, but nothing else the POS keeps in DATA\.
TEST_F(SetupTest, UninstallRemovesOurDataOnlyWhenAsked) {
    ASSERT_EQ(Setup("/AUTOSTART=no /DEMO=yes"), 0u);
    std::string value;
    EXPECT_FALSE(ReadUserValue(kRunKey, kRunValue, value));
    EXPECT_EQ(ReadWholeFile(Dir + "BackOffice.exe"), Built("BackOffice.exe"));
    EXPECT_TRUE(FileExists(ShortcutPath("Back Office (demo).lnk")));
    ProgramDir dir(Dir);
    dir.WriteConfig(MakeConfig(PORT_UDP, 1, 4, CFG_LOGGING));
    ASSERT_TRUE(CreateExclusionList(dir.Path(EXCL_LOG_FILE), {"5559990000"}));
    ASSERT_TRUE(WriteWholeFile(dir.Path("DATA\\MENU.DAT"), "the POS's own"));

    ASSERT_TRUE(Uninstall("/REMOVEDATA"));
    EXPECT_FALSE(FileExists(Dir + "BackOffice.exe"));
    EXPECT_FALSE(FileExists(ShortcutPath("Back Office (demo).lnk")));
    for (const char *name : kDataFiles)
        EXPECT_FALSE(FileExists(dir.Path(name))) << name;
    EXPECT_EQ(ReadWholeFile(dir.Path("DATA\\MENU.DAT")), "the POS's own");
}

// Outside libraries already in the folder: ours when older or equal are written, anything
// newer of ours or of another maker is left as it is, by the uninstaller too.
TEST_F(SetupTest, OutsideLibrariesOfOursAreUpdatedAndForeignOnesKept) {
    struct Case {
        const char *Library;
        const char *Fixture;
        bool Replaced;
    };
    const Case cases[] = {
        {"KEYFILE.dll", "fixture_older.dll", true},
        {"Pantry.dll", "fixture_equal.dll", true},
        {"Cfgvault.dll", "fixture_newer.dll", false},
        {"PRNVIEW32.dll", "fixture_foreign.dll", false},
        {"Reptopt.dll", "fixture_bare.dll", false},
    };
    for (const Case &c : cases)
        PutFixture(c.Fixture, c.Library);

    ASSERT_EQ(Setup(), 0u);
    for (const Case &c : cases) {
        const std::string wanted = c.Replaced ? Built(c.Library) : Built(c.Fixture);
        EXPECT_EQ(ReadWholeFile(Dir + c.Library), wanted) << c.Library << " from " << c.Fixture;
    }

    ASSERT_TRUE(Uninstall());
    for (const Case &c : cases)
        EXPECT_EQ(FileExists(Dir + c.Library), !c.Replaced) << c.Library << " from " << c.Fixture;
}

// A library held open by another program that refuses writers: the silent install fails before
// it replaces anything, and succeeds once the file is let go.
TEST_F(SetupTest, FilesInUseStopTheInstallBeforeAnythingIsReplaced) {
    ASSERT_TRUE(WriteWholeFile(Dir + "Ringhold.exe", "old server"));
    ASSERT_TRUE(WriteWholeFile(Dir + "Ringtally.dll", "old reports"));
    ASSERT_TRUE(WriteWholeFile(Dir + "Ringtune.dll", "old setup"));
    PutFixture("fixture_older.dll", "KEYFILE.dll");
    const std::string held = Dir + "Ringtune.dll";
    ChildProcess holder;
    ASSERT_TRUE(holder.Start("\"" + BuildBinDir() + "hold_file.exe\" \"" + held + "\"", Dir));
    ASSERT_TRUE(WaitUntil(
        [&] {
            HANDLE h = CreateFileA(held.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   nullptr, OPEN_EXISTING, 0, nullptr);
            if (h != INVALID_HANDLE_VALUE)
                CloseHandle(h);
            return h == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION;
        },
        START_WAIT_MS));

    EXPECT_EQ(Setup(), kExitFilesInUse);
    EXPECT_EQ(ReadWholeFile(Dir + "Ringhold.exe"), "old server");
    EXPECT_EQ(ReadWholeFile(Dir + "Ringtally.dll"), "old reports");
    EXPECT_EQ(ReadWholeFile(Dir + "KEYFILE.dll"), Built("fixture_older.dll"));
    EXPECT_FALSE(FileExists(Dir + "Pantry.dll"));
    EXPECT_FALSE(UninstallKeyExists());

    holder.Kill();
    ASSERT_TRUE(holder.WaitForExit(START_WAIT_MS));
    ASSERT_EQ(Setup(), 0u);
    for (const char *name : kOurModules)
        EXPECT_EQ(ReadWholeFile(Dir + name), Built(name)) << name;
    EXPECT_EQ(ReadWholeFile(Dir + "KEYFILE.dll"), Built("KEYFILE.dll"));
}

} // namespace
