// End-to-end test support: the real Ringhold.exe run in a throw-away program directory, the
// windows it shows, the files it writes, and the simulated unit that feeds it.
#pragma once
#include <winsock2.h>
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "call_log_record.h"
#include "cid_config.h"
#include "station_display_record.h"
#include "test_windows.h"

// Deadlines sized for a cold 32-bit Wine start on a busy two-core machine. Every wait ends as
// soon as its condition holds, so a generous deadline costs nothing when things go well.
const DWORD START_WAIT_MS = 60000; // a program's window, a message box, a server state
const DWORD CALLS_WAIT_MS = 60000; // calls played by the simulator reaching the server's files
const DWORD STOP_WAIT_MS = 70000;  // the shell's own stop wait is about 60 s

// The folder of the running test program, where the build puts every program and DLL.
std::string BuildBinDir();
// Deletes a folder (ending in a backslash) with everything below it.
void RemoveTree(const std::string &dir);

bool FileExists(const std::string &path);
// The whole file, or "" when it cannot be read (it may be missing or held without sharing).
std::string ReadWholeFile(const std::string &path);
bool WriteWholeFile(const std::string &path, const std::string &bytes);

// A program directory below the temporary folder holding copies of Ringhold.exe, KEYFILE.dll
// and Pantry.dll, and empty DATA\ and CONTROL\ folders. Removed again when it goes.
class ProgramDir {
  public:
    ProgramDir();
    // An existing program directory (ending in a backslash), taken as it is and left in place.
    explicit ProgramDir(const std::string &existing) : Dir(existing), owned_(false) {}
    ~ProgramDir();
    ProgramDir(const ProgramDir &) = delete;
    ProgramDir &operator=(const ProgramDir &) = delete;

    // Dir + a relative file name such as "DATA\\OvenCID.DAT".
    std::string Path(const std::string &relative) const { return Dir + relative; }
    // POSOvena.INI with section CIDServer, keys UDPPort and IPTimeOut.
    void WriteIni(int udpPort, int ipTimeoutSeconds = 1) const;
    void WriteConfig(const CidConfig &cfg) const;
    // A UDP unit (model 1, lines 1 to 4, no logging) and an INI with a port that was free: the
    // least a server needs to start and run. Without it the server's start-up fails.
    void WriteUdpServerSetup() const;
    // The CONTROL\ lock files present: "Quorl.LCK", "LINE01.LCK", ...
    std::vector<std::string> LockFiles() const;

    std::string Dir; // ends in a backslash

  private:
    bool owned_ = true;
};

// A configuration record: lines 1 to `lastLine` on port selection `portSel`.
CidConfig MakeConfig(uint8_t portSel, uint8_t unitModel, uint8_t lastLine, uint32_t options);

// What a process has used so far: processor time (user and kernel) and its working set now.
struct ProcessUsage {
    uint64_t CpuMs = 0;
    uint64_t WorkingSetBytes = 0;
};

// A child process in a job that kills it when the test ends, however it ends.
class ChildProcess {
  public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    bool Start(const std::string &commandLine, const std::string &workDir);
    bool WaitForExit(DWORD waitMs);
    bool IsRunning() const;
    DWORD ExitCode() const;
    void Kill();
    DWORD Id() const { return info_.dwProcessId; }
    // Zeros once the process has gone or was never started.
    ProcessUsage Usage() const;

  private:
    PROCESS_INFORMATION info_{};
    HANDLE job_ = nullptr;
};

// Ringhold.exe of a program directory: started, driven through its window and ended.
class Ringhold {
  public:
    explicit Ringhold(const ProgramDir &dir) : dir_(dir) {}
    ~Ringhold();

    // Starts the program and waits for its main window (class "RINGHOLDR").
    bool Start();
    HWND Window() const { return window_; }
    ChildProcess &Process() { return process_; }
    // Posts a menu command: 1465 Running, 1466 Exit, 1467 About, 1468 Launch at System Boot.
    void Command(UINT id) const;
    // Asks the shell whether the server runs; waits until the answer is `running`.
    bool WaitForServer(bool running, DWORD waitMs) const;
    // Exit answered Yes, then waits for the process to end; false when it did not.
    bool Exit();

  private:
    const ProgramDir &dir_;
    ChildProcess process_;
    HWND window_ = nullptr;
};

// Asks Ringhold's window for its server state until the answer is `wanted` (RINGHOLD_RUNNING,
// RINGHOLD_STOPPED) or `waitMs` pass.
bool WaitForState(HWND window, LRESULT wanted, DWORD waitMs);

// The record of `line` in DATA\OvenCID.DAT; false when the file does not reach it.
bool ReadDisplayRecord(const ProgramDir &dir, int line, StationDisplayRecord &record);
// The record as the server writes it from three texts.
StationDisplayRecord MakeDisplayRecord(const std::string &number, const std::string &name,
                                       const std::string &time);
bool SameRecord(const StationDisplayRecord &a, const StationDisplayRecord &b);
// Waits until line `line` shows exactly `wanted`.
bool WaitForDisplay(const ProgramDir &dir, int line, const StationDisplayRecord &wanted,
                    DWORD waitMs);
StationDisplayRecord WaitingRecord();
// Waits until lines `first` to `last` show "Waiting" / "For Call": the server writes them only
// once its link to the unit is open, so a call sent after this reaches it. (The server state
// turns to running before that.)
bool WaitForLinesWaiting(const ProgramDir &dir, int first, int last, DWORD waitMs);

// Every record of DATA\QuorlLog.OV5 in key 1 order, read through KEYFILE in mode 2.
std::vector<CallLogRecord> ReadCallLog(const ProgramDir &dir);
// Creates an exclusion list file holding these numbers (digits only) through KEYFILE.
bool CreateExclusionList(const std::string &path, const std::vector<std::string> &numbers);

// A file held open without any sharing, as a running program holds a lock file.
class HeldFile {
  public:
    explicit HeldFile(const std::string &path);
    ~HeldFile();
    bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

  private:
    HANDLE handle_;
};

// A UDP socket bound to all local addresses; port 0 picks a free port.
class BoundUdpPort {
  public:
    explicit BoundUdpPort(int port = 0);
    ~BoundUdpPort();
    int Port() const { return port_; }

  private:
    SOCKET socket_ = INVALID_SOCKET;
    int port_ = 0;
};

// A UDP port that was free a moment ago, for a server run of its own.
int FreeUdpPort();

// The simulated unit (unitsim.exe) with these arguments, run until it ends or is killed.
class UnitSimulator {
  public:
    explicit UnitSimulator(const std::string &arguments);
    bool Running() const { return running_; }
    // Waits for the simulator to play all its steps and end (give it --exit-after).
    bool WaitForEnd(DWORD waitMs) { return process_.WaitForExit(waitMs); }
    void Stop() { process_.Kill(); }

  private:
    ChildProcess process_;
    bool running_ = false;
};
