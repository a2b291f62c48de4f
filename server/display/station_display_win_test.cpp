// The station display file and line locks on real Windows files, with a second process holding
// a lock the way another server would.
#include <windows.h>

#include "station_display.h"

#include "file_names.h"
#include "record_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

bool Exists(const std::string &path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// An empty program directory with DATA\ and CONTROL\ for each test.
class StationDisplayFiles : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(sizeof temp, temp);
        const auto *info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::string(temp) + "ringdisp_" + std::to_string(GetCurrentProcessId()) + "_" +
               info->name() + "\\";
        CreateDirectoryA(dir_.c_str(), nullptr);
        CreateDirectoryA((dir_ + "DATA").c_str(), nullptr);
        CreateDirectoryA((dir_ + "CONTROL").c_str(), nullptr);
    }
    void TearDown() override {
        UnlockLines(locks_);
        for (const char *name : {DISPLAY_FILE, "CONTROL\\LINE01.LCK", "CONTROL\\LINE02.LCK",
                                 "CONTROL\\LINE03.LCK", "CONTROL\\LINE04.LCK"})
            DeleteFileA((dir_ + name).c_str());
        RemoveDirectoryA((dir_ + "DATA").c_str());
        RemoveDirectoryA((dir_ + "CONTROL").c_str());
        RemoveDirectoryA(dir_.c_str());
    }
    std::string DisplayBytes() const {
        HANDLE file =
            CreateFileA((dir_ + DISPLAY_FILE).c_str(), GENERIC_READ,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "<none>";
        std::string bytes(4096, '\0');
        DWORD count = 0;
        ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &count, nullptr);
        CloseHandle(file);
        bytes.resize(count);
        return bytes;
    }
    static std::string RecordBytes(const StationDisplayRecord &rec) {
        return std::string(reinterpret_cast<const char *>(&rec), sizeof rec);
    }
    std::string Lock(int32_t line) const { return dir_ + LineLockFileName(line); }

    std::string dir_;
    LineLocks locks_;
};

TEST_F(StationDisplayFiles, RecordsBeforeTheFirstLineStayZero) {
    ShowWaitingForCall(dir_, 3, 4);
    const std::string waiting = RecordBytes(WaitingRecord());
    EXPECT_EQ(DisplayBytes(), std::string(100, '\0') + waiting + waiting);

    const StationDisplayRecord call = CallRecord("5551234567", "ANNA", "09:07 PM");
    EXPECT_TRUE(WriteDisplayRecord(dir_, 4, call));
    EXPECT_EQ(DisplayBytes(), std::string(100, '\0') + waiting + RecordBytes(call));
}

TEST_F(StationDisplayFiles, NoRecordForLinesBelowOneOrAnEmptyRange) {
    EXPECT_FALSE(WriteDisplayRecord(dir_, 0, WaitingRecord()));
    EXPECT_FALSE(WriteDisplayRecord(dir_, -3, WaitingRecord()));
    ShowWaitingForCall(dir_, 5, 4);
    EXPECT_EQ(DisplayBytes(), "<none>");
    ShowWaitingForCall(dir_, 0, 1);
    EXPECT_EQ(DisplayBytes(), RecordBytes(WaitingRecord()));
    EXPECT_FALSE(WriteDisplayRecord("", 1, WaitingRecord()));
}

TEST_F(StationDisplayFiles, OfflineShowsOneTimeOnEveryLine) {
    ShowServerOffline(dir_, 1, 3);
    const std::string bytes = DisplayBytes();
    ASSERT_EQ(bytes.size(), 150u);
    StationDisplayRecord first;
    std::memcpy(&first, bytes.data(), sizeof first);
    EXPECT_EQ(GetTextNul(first.Number), "SERVER");
    EXPECT_EQ(GetTextNul(first.Name), "OFFLINE");
    const std::string time = GetTextNul(first.Time);
    ASSERT_EQ(time.size(), 8u);
    EXPECT_EQ(time[2], ':');
    EXPECT_EQ(time[5], ':');
    EXPECT_EQ(bytes, RecordBytes(first) + RecordBytes(first) + RecordBytes(first));
}

// The order stations keep the file open for reading and writing while the server writes.
TEST_F(StationDisplayFiles, WritesWhileAStationHoldsTheFileOpen) {
    ShowWaitingForCall(dir_, 1, 2);
    HANDLE station =
        CreateFileA((dir_ + DISPLAY_FILE).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(station, INVALID_HANDLE_VALUE);
    const StationDisplayRecord call = CallRecord("PRIVATE", "", "12:05 AM");
    EXPECT_TRUE(WriteDisplayRecord(dir_, 2, call));
    StationDisplayRecord seen{};
    DWORD count = 0;
    SetFilePointer(station, 50, nullptr, FILE_BEGIN);
    ASSERT_TRUE(ReadFile(station, &seen, sizeof seen, &count, nullptr));
    EXPECT_EQ(RecordBytes(seen), RecordBytes(call));
    CloseHandle(station);
}

TEST_F(StationDisplayFiles, StaleLockFilesAreTakenOverAndReleased) {
    HANDLE stale =
        CreateFileA(Lock(2).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD count = 0;
    WriteFile(stale, "old", 3, &count, nullptr);
    CloseHandle(stale);

    ASSERT_EQ(LockLines(locks_, dir_, 1, 3), 0);
    for (int32_t line = 1; line <= 3; ++line) {
        EXPECT_TRUE(Exists(Lock(line))) << line;
        // Held without sharing: nobody else opens or deletes it.
        EXPECT_EQ(CreateFileA(Lock(line).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr),
                  INVALID_HANDLE_VALUE);
        EXPECT_FALSE(DeleteFileA(Lock(line).c_str()));
    }
    UnlockLines(locks_);
    for (int32_t line = 1; line <= 3; ++line)
        EXPECT_FALSE(Exists(Lock(line))) << line;
}

// A second server in the same folder must not take lines a first one holds, and must not
// disturb the first one's locks when it gives up.
TEST_F(StationDisplayFiles, LinesHeldByAnotherLockSetFailWithoutDisturbingIt) {
    LineLocks first;
    ASSERT_EQ(LockLines(first, dir_, 2, 3), 0);
    EXPECT_EQ(LockLines(locks_, dir_, 1, 3), 1);
    EXPECT_FALSE(Exists(Lock(1)));
    EXPECT_TRUE(Exists(Lock(2)));
    EXPECT_TRUE(Exists(Lock(3)));
    EXPECT_TRUE(locks_.Handles.empty());
    UnlockLines(first);
    EXPECT_EQ(LockLines(locks_, dir_, 1, 3), 0);
}

TEST_F(StationDisplayFiles, ThirdLineHeldByAnotherProgram) {
    char self[MAX_PATH];
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string holder(self);
    holder = holder.substr(0, holder.find_last_of('\\') + 1) + "lock_holder.exe";

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead, outWrite, inRead, inWrite;
    ASSERT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
    ASSERT_TRUE(CreatePipe(&inRead, &inWrite, &inherit, 0));
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA start{};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdInput = inRead;
    start.hStdOutput = outWrite;
    start.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::string command = "\"" + holder + "\" \"" + Lock(3) + "\"";
    ASSERT_TRUE(CreateProcessA(holder.c_str(), &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                               nullptr, &start, &process));
    CloseHandle(outWrite);
    CloseHandle(inRead);
    char said[8] = {};
    DWORD count = 0;
    ReadFile(outRead, said, 4, &count, nullptr);
    ASSERT_EQ(std::string(said, count), "held");

    EXPECT_EQ(LockLines(locks_, dir_, 1, 4), 1);
    EXPECT_FALSE(Exists(Lock(1)));
    EXPECT_FALSE(Exists(Lock(2)));
    EXPECT_TRUE(Exists(Lock(3)));
    EXPECT_FALSE(Exists(Lock(4)));

    CloseHandle(inWrite);
    // Generous: a busy machine may take its time to end the holder and release the lock.
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), WAIT_OBJECT_0);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(outRead);
    EXPECT_EQ(LockLines(locks_, dir_, 1, 4), 0);
}

TEST_F(StationDisplayFiles, NoProgramDirectoryNoLocks) {
    EXPECT_EQ(LockLines(locks_, "", 1, 2), 1);
    EXPECT_EQ(LockLines(locks_, dir_, 3, 2), 0);
    EXPECT_TRUE(locks_.Handles.empty());
}

} // namespace
