// Ringhold's server thread: start-up in a fixed order, the poll loop, and shutdown in reverse.
// Every start-up message is unowned, captioned "CID Server" and system-modal, so it shows even
// though Ringhold has no visible window.
#include <windows.h>

#include <memory>
#include <string>

#include "calllog/call_log.h"
#include "config/cid_config_file.h"
#include "config/ini_settings.h"
#include "display/station_display.h"
#include "file_names.h"
#include "keyfile.h"
#include "link/serial_link.h"
#include "link/udp_link.h"
#include "pantry.h"
#include "poll/poll_unit.h"
#include "record_text.h"
#include "server_message.h"
#include "server_state.h"
#include "unit/unit_message.h"

ServerShared g_Server;

namespace {

const char CAPTION[] = "CID Server";
const char INIT_WARNING[] = "ERROR: Initing Quorl Vezedud Box!\r  Unexpected results may occur.";

void StartupMessage(const std::string &text, UINT icon) {
    ServerMessage(nullptr, text.c_str(), CAPTION, icon, true);
}

bool FileExists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// What the thread holds from start-up to shutdown.
struct ServerRun {
    std::string Dir;
    HANDLE LockFile = INVALID_HANDLE_VALUE;
    IniSettings Ini{};
    CidConfig Config{};
    LineLocks Lines;
    SerialPort Serial;
    UdpSocket Udp;
    std::unique_ptr<PollState> Poll;
    std::unique_ptr<UnitLink> Link;

    bool UsesUdp() const { return Config.PortSel >= PORT_UDP; }

    void ReleaseLockFile() {
        CloseHandle(LockFile);
        LockFile = INVALID_HANDLE_VALUE;
        DeleteFileA((Dir + LOCK_FILE).c_str());
    }
};

// A lock file that can be deleted is a leftover of a run that did not end cleanly; one that
// cannot is held open by a running server or configuration utility.
bool TakeInstanceLock(ServerRun &run) {
    std::string path = run.Dir + LOCK_FILE;
    if (FileExists(path) && !DeleteFileA(path.c_str())) {
        StartupMessage("ERROR: Server/Config Allready Running!", MB_ICONEXCLAMATION);
        return false;
    }
    run.LockFile = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (run.LockFile == INVALID_HANDLE_VALUE) {
        StartupMessage("ERROR: Creating Lock File!", MB_ICONERROR);
        return false;
    }
    return true;
}

bool LoadConfiguration(ServerRun &run) {
    ServerConfigStatus status = ReadServerConfig(run.Dir, run.Config);
    if (status == ServerConfigStatus::Ok) {
        g_Server.PortSel = run.Config.PortSel;
        return true;
    }
    StartupMessage(ServerConfigMessage(status),
                   status == ServerConfigStatus::Missing ? MB_ICONERROR : MB_ICONEXCLAMATION);
    run.ReleaseLockFile();
    return false;
}

bool LockConfiguredLines(ServerRun &run) {
    int32_t first = run.Config.FirstLine, last = run.Config.LastLine;
    if (LockLines(run.Lines, run.Dir, first, last) == 0)
        return true;
    StartupMessage("ERROR: Cannot Lock Lines " + std::to_string(first) + " Thru " +
                       std::to_string(last) + "!",
                   MB_ICONEXCLAMATION);
    run.ReleaseLockFile();
    return false;
}

// Opens the serial port or the UDP socket and, for unit model 0, checks and sets the unit.
bool OpenUnitLink(ServerRun &run) {
    bool opened, unitReady = true;
    std::string failure;
    if (!run.UsesUdp()) {
        run.Serial.handle = OpenSerialPort(run.Config.PortSel);
        opened = run.Serial.handle != nullptr;
        failure = "ERROR: Opening COM" + std::to_string(run.Config.PortSel);
        if (opened && run.Config.UnitModel == 0)
            unitReady = SetupSerialUnit(run.Serial);
        if (opened)
            run.Link = std::make_unique<SerialUnitLink>(run.Serial, run.Config.PortSel);
    } else {
        opened = OpenUdpSocket(run.Udp, run.Ini.UdpPort, run.Ini.IpTimeoutMs);
        failure = "ERROR: Opening IP Connection";
        if (opened && run.Config.UnitModel == 0)
            unitReady = SetupUdpUnit(run.Udp, run.Ini.UdpPort, run.Config);
        if (opened)
            run.Link = std::make_unique<UdpUnitLink>(run.Udp, run.Config);
    }
    if (!opened) {
        StartupMessage(failure, MB_ICONEXCLAMATION);
        UnlockLines(run.Lines);
        run.ReleaseLockFile();
        return false;
    }
    if (!unitReady)
        StartupMessage(INIT_WARNING, MB_ICONEXCLAMATION);
    return true;
}

void CloseUnitLink(ServerRun &run) {
    if (run.UsesUdp())
        CloseUdpSocket(run.Udp);
    else
        CloseSerialPort(run.Serial);
}

// An exclusion list is opened only when it exists; the server never creates one.
int32_t OpenExclusionList(const std::string &path, const char *failure) {
    if (!FileExists(path))
        return 0;
    const int32_t mode = KF_MODE_UPDATE;
    int32_t handle = kf_Open(path.c_str(), &mode);
    if (handle >= 1)
        return handle;
    StartupMessage(failure, MB_ICONEXCLAMATION);
    return 0;
}

void OpenRecordFiles(ServerRun &run) {
    PollState &poll = *run.Poll;
    bool logging = (run.Config.Options & CFG_LOGGING) != 0;
    if (logging) {
        bool exists = FileExists(run.Dir + CALL_LOG_FILE);
        if (!exists && !CreateCallLog(run.Dir)) {
            StartupMessage("ERROR: Creating Log File, Logging Disabled", MB_ICONEXCLAMATION);
        } else {
            poll.CallLog = OpenCallLog(run.Dir);
            if (poll.CallLog < 1) {
                poll.CallLog = 0;
                StartupMessage("ERROR: Opening Log File, Logging Disabled", MB_ICONEXCLAMATION);
            }
        }
        poll.LogExcl = OpenExclusionList(run.Dir + EXCL_LOG_FILE,
                                         "ERROR: Opening Log Exclude File, Exclusion Disabled");
    }
    poll.DisplayExcl = OpenExclusionList(run.Dir + EXCL_SHOW_FILE,
                                         "ERROR: Opening Dsp Exclude File, Exclusion Disabled");
}

void RecordStartTime() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    const std::string time = ClockText(now.wHour, now.wMinute, now.wSecond);
    const std::string date = CivilDateText({now.wYear, now.wMonth, now.wDay});
    g_Server.StartSeconds = TimeToSeconds(time.c_str());
    g_Server.StartDay = DateToDays(date.c_str());
}

// Start-up steps 2 to 15; false when the server gave up (after its own clean-up).
bool StartServer(ServerRun &run) {
    if (!TakeInstanceLock(run))
        return false;
    run.Ini = ReadIniSettings(run.Dir);
    if (!LoadConfiguration(run) || !LockConfiguredLines(run))
        return false;
    run.Poll = std::make_unique<PollState>(run.Dir, run.Config);
    if (!OpenUnitLink(run))
        return false;
    // Held by another program now, the file would go on showing the last run's "SERVER" /
    // "OFFLINE" while the server runs: the passes write "Waiting" once it is free.
    if (!ShowWaitingForCall(run.Dir, run.Config.FirstLine, run.Config.LastLine)) {
        for (int32_t line = run.Config.FirstLine; line <= run.Config.LastLine; line++)
            run.Poll->Unshown[line] = WaitingRecord();
    }
    OpenRecordFiles(run);
    RecordStartTime();
    return true;
}

void StopServer(ServerRun &run) {
    // A last chance for calls the log refused while another program held it.
    LogUnloggedCalls(*run.Poll);
    kf_CloseAll();
    CloseUnitLink(run);
    ShowServerOffline(run.Dir, run.Config.FirstLine, run.Config.LastLine);
    UnlockLines(run.Lines);
    run.ReleaseLockFile();
}

} // namespace

DWORD WINAPI ServerThread(LPVOID) {
    int32_t stopped = 0;
    if (!g_Server.Running.compare_exchange_strong(stopped, 1))
        return 0;
    g_Server.StopRequest = 0;
    {
        ServerRun run;
        run.Dir = g_Server.ProgramDir;
        if (StartServer(run)) {
            do {
                Sleep(500);
                PollUnit(*run.Poll, *run.Link);
            } while (g_Server.StopRequest == 0);
            StopServer(run);
        }
    }
    g_Server.Running = 0;
    return 0;
}

void StartServerThread() {
    if (g_Server.Running)
        return;
    HANDLE thread = CreateThread(nullptr, 0, ServerThread, nullptr, 0, nullptr);
    if (thread)
        CloseHandle(thread);
    Sleep(3000);
}

int32_t WaitForServerStop() {
    for (int pass = 0; pass < 120; pass++) {
        Sleep(500);
        if (g_Server.Running == 0)
            return 1;
    }
    return 0;
}
