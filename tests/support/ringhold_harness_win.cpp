// End-to-end test support on Windows: program directories, child processes in a kill-on-close
// job, message boxes of other processes, and the server's files read as the POS reads them.
#include "ringhold_harness.h"
#include <psapi.h>

#include <cstdio>
#include <cstring>

#include "excl_record.h"
#include "file_names.h"
#include "keyfile.h"
#include "record_text.h"
#include "shell_control.h"

std::string BuildBinDir() {
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string dir(path, n);
    return dir.substr(0, dir.find_last_of('\\') + 1);
}

void RemoveTree(const std::string &dir) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(dir + name + "\\");
            else
                DeleteFileA((dir + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(dir.c_str());
}

bool FileExists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string ReadWholeFile(const std::string &path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return "";
    std::string bytes;
    char buffer[4096];
    DWORD got;
    while (ReadFile(h, buffer, sizeof buffer, &got, nullptr) && got > 0)
        bytes.append(buffer, got);
    CloseHandle(h);
    return bytes;
}

bool WriteWholeFile(const std::string &path, const std::string &bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    bool ok = WriteFile(h, bytes.data(), (DWORD)bytes.size(), &put, nullptr) && put == bytes.size();
    CloseHandle(h);
    return ok;
}

ProgramDir::ProgramDir() {
    static int made = 0;
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    char name[64];
    std::snprintf(name, sizeof name, "ring_e2e_%lu_%d\\", GetCurrentProcessId(), ++made);
    Dir = std::string(temp) + name;
    RemoveTree(Dir);
    CreateDirectoryA(Dir.c_str(), nullptr);
    CreateDirectoryA(Path("DATA").c_str(), nullptr);
    CreateDirectoryA(Path("CONTROL").c_str(), nullptr);
    std::string bin = BuildBinDir();
    for (const char *file : {"Ringhold.exe", "KEYFILE.dll", "Pantry.dll"})
        CopyFileA((bin + file).c_str(), Path(file).c_str(), FALSE);
}

ProgramDir::~ProgramDir() {
    if (owned_)
        RemoveTree(Dir);
}

void ProgramDir::WriteIni(int udpPort, int ipTimeoutSeconds) const {
    char text[128];
    std::snprintf(text, sizeof text, "[%s]\r\nUDPPort=%d\r\nIPTimeOut=%d\r\n", INI_SECTION, udpPort,
                  ipTimeoutSeconds);
    WriteWholeFile(Path(INI_FILE), text);
}

void ProgramDir::WriteConfig(const CidConfig &cfg) const {
    WriteWholeFile(Path(CONFIG_FILE),
                   std::string(reinterpret_cast<const char *>(&cfg), sizeof cfg));
}

void ProgramDir::WriteUdpServerSetup() const {
    WriteConfig(MakeConfig(PORT_UDP, 1, 4, 0));
    WriteIni(FreeUdpPort());
}

std::vector<std::string> ProgramDir::LockFiles() const {
    return FileNamesMatching(Path(CONTROL_DIR "*.LCK"));
}

CidConfig MakeConfig(uint8_t portSel, uint8_t unitModel, uint8_t lastLine, uint32_t options) {
    CidConfig cfg{};
    cfg.PortSel = portSel;
    cfg.UnitModel = unitModel;
    cfg.FirstLine = 1;
    cfg.LastLine = lastLine;
    cfg.Options = options;
    return cfg;
}

ChildProcess::~ChildProcess() {
    Kill();
    if (info_.hProcess)
        CloseHandle(info_.hProcess);
    if (job_)
        CloseHandle(job_);
}

bool ChildProcess::Start(const std::string &commandLine, const std::string &workDir) {
    job_ = CreateJobObjectA(nullptr, nullptr);
    if (job_) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr,
                        workDir.c_str(), &startup, &info_))
        return false;
    if (job_)
        AssignProcessToJobObject(job_, info_.hProcess);
    ResumeThread(info_.hThread);
    CloseHandle(info_.hThread);
    info_.hThread = nullptr;
    return true;
}

bool ChildProcess::WaitForExit(DWORD waitMs) {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, waitMs) == WAIT_OBJECT_0;
}

bool ChildProcess::IsRunning() const {
    return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (info_.hProcess)
        GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

ProcessUsage ChildProcess::Usage() const {
    ProcessUsage usage;
    if (!IsRunning())
        return usage;
    FILETIME created, ended, kernel, user;
    if (GetProcessTimes(info_.hProcess, &created, &ended, &kernel, &user)) {
        ULARGE_INTEGER k{{kernel.dwLowDateTime, kernel.dwHighDateTime}};
        ULARGE_INTEGER u{{user.dwLowDateTime, user.dwHighDateTime}};
        usage.CpuMs = (k.QuadPart + u.QuadPart) / 10000;
    }
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(info_.hProcess, &memory, sizeof memory))
        usage.WorkingSetBytes = memory.WorkingSetSize;
    return usage;
}

void ChildProcess::Kill() {
    if (IsRunning()) {
        TerminateProcess(info_.hProcess, 1);
        WaitForSingleObject(info_.hProcess, 5000);
    }
}

Ringhold::~Ringhold() {
    process_.Kill();
}

bool Ringhold::Start() {
    if (!process_.Start("\"" + dir_.Path("Ringhold.exe") + "\"", dir_.Dir))
        return false;
    return WaitUntil(
        [&] {
            window_ = FindProcessWindow(process_.Id(), RINGHOLD_WINDOW_CLASS, nullptr);
            return window_ != nullptr;
        },
        START_WAIT_MS);
}

void Ringhold::Command(UINT id) const {
    PostMessageA(window_, WM_COMMAND, id, 0);
}

bool Ringhold::WaitForServer(bool running, DWORD waitMs) const {
    return WaitForState(window_, running ? RINGHOLD_RUNNING : RINGHOLD_STOPPED, waitMs);
}

bool Ringhold::Exit() {
    Command(ID_MENU_EXIT);
    HWND box = FindMessageBox(process_.Id(), "Quit?", START_WAIT_MS);
    return box && PressButton(box, IDYES) && process_.WaitForExit(STOP_WAIT_MS);
}

bool WaitForState(HWND window, LRESULT wanted, DWORD waitMs) {
    return WaitUntil([&] { return AskRingholdState(window, 1000) == wanted; }, waitMs);
}

bool ReadDisplayRecord(const ProgramDir &dir, int line, StationDisplayRecord &record) {
    std::string bytes = ReadWholeFile(dir.Path(DISPLAY_FILE));
    size_t at = (size_t)(line - 1) * sizeof record;
    if (line < 1 || bytes.size() < at + sizeof record)
        return false;
    std::memcpy(&record, bytes.data() + at, sizeof record);
    return true;
}

StationDisplayRecord MakeDisplayRecord(const std::string &number, const std::string &name,
                                       const std::string &time) {
    StationDisplayRecord record;
    PutTextNul(record.Number, number);
    PutTextNul(record.Name, name);
    PutTextNul(record.Time, time);
    return record;
}

bool SameRecord(const StationDisplayRecord &a, const StationDisplayRecord &b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool WaitForDisplay(const ProgramDir &dir, int line, const StationDisplayRecord &wanted,
                    DWORD waitMs) {
    return WaitUntil(
        [&] {
            StationDisplayRecord shown;
            return ReadDisplayRecord(dir, line, shown) && SameRecord(shown, wanted);
        },
        waitMs);
}

StationDisplayRecord WaitingRecord() {
    return MakeDisplayRecord("Waiting", "For Call", "");
}

bool WaitForLinesWaiting(const ProgramDir &dir, int first, int last, DWORD waitMs) {
    const StationDisplayRecord waiting = WaitingRecord();
    for (int line = first; line <= last; line++) {
        if (!WaitForDisplay(dir, line, waiting, waitMs))
            return false;
    }
    return true;
}

std::vector<CallLogRecord> ReadCallLog(const ProgramDir &dir) {
    std::vector<CallLogRecord> records;
    std::string path = dir.Path(CALL_LOG_FILE);
    const int32_t mode = KF_MODE_READ;
    int32_t handle = kf_Open(path.c_str(), &mode);
    if (handle < 1)
        return records;
    const int32_t length = sizeof(CallLogRecord), keyNumber = 1, zero = 0;
    int32_t op = KF_GET_FIRST;
    for (;;) {
        CallLogRecord record{};
        if (kf(&op, &handle, &record, &length, nullptr, &zero, &keyNumber) != KF_OK)
            break;
        records.push_back(record);
        op = KF_GET_NEXT;
    }
    kf_Close(&handle);
    return records;
}

bool CreateExclusionList(const std::string &path, const std::vector<std::string> &numbers) {
    std::string definition("\x01\x00\x01", 3);
    char name[25];
    PutTextPadded(name, "Exlude Phone");
    definition.append(name, sizeof name);
    definition += std::string("\x01\x01\x00\x10\x06", 5); // key 1, position 1, length 16, flags
    const int32_t zero = 0, mode = KF_MODE_UPDATE;
    if (kf_Create(path.c_str(), reinterpret_cast<const uint8_t *>(definition.data()), &zero) !=
        KF_OK)
        return false;
    int32_t handle = kf_Open(path.c_str(), &mode);
    if (handle < 1)
        return false;
    bool ok = true;
    for (const std::string &number : numbers) {
        ExclRecord record{};
        PutTextPadded(record.Number, number);
        PutTextNul(record.Note, "e2e");
        const int32_t op = KF_INSERT, length = sizeof record;
        ok = ok && kf(&op, &handle, &record, &length, nullptr, &zero, &zero) == KF_OK;
    }
    kf_Close(&handle);
    return ok;
}

HeldFile::HeldFile(const std::string &path)
    : handle_(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {}

HeldFile::~HeldFile() {
    if (Held())
        CloseHandle(handle_);
}

BoundUdpPort::BoundUdpPort(int port) {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    socket_ = socket(AF_INET, SOCK_DGRAM, IPPROTO_UDP);
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_port = htons((u_short)port);
    int size = sizeof local;
    if (socket_ != INVALID_SOCKET &&
        bind(socket_, reinterpret_cast<sockaddr *>(&local), sizeof local) == 0 &&
        getsockname(socket_, reinterpret_cast<sockaddr *>(&local), &size) == 0)
        port_ = ntohs(local.sin_port);
}

BoundUdpPort::~BoundUdpPort() {
    if (socket_ != INVALID_SOCKET)
        closesocket(socket_);
    WSACleanup();
}

int FreeUdpPort() {
    return BoundUdpPort().Port();
}

UnitSimulator::UnitSimulator(const std::string &arguments) {
    running_ = process_.Start("\"" + BuildBinDir() + "unitsim.exe\" " + arguments, BuildBinDir());
}
