// A writer killed in the middle of a transaction leaves a hot journal; the next process to read
// the file, even through a read-only handle, must roll it back and see the file as committed.
// POSIX only: the dying writer is a forked child.
#include "keyfile_fixture.h"
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// Inserts far more than the page cache holds, so pages reach the file, then dies uncommitted.
[[noreturn]] void DieMidTransaction(const fs::path &path) {
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.string().c_str(), &db) != SQLITE_OK)
        _exit(2);
    sqlite3_exec(db, "PRAGMA cache_size=10; BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    for (int i = 0; i < 500; ++i) {
        if (sqlite3_exec(db,
                         "INSERT INTO kf_record(data, k1, k2, k3) VALUES(zeroblob(4000), "
                         "randomblob(8), randomblob(20), x'49')",
                         nullptr, nullptr, nullptr) != SQLITE_OK)
            _exit(3);
    }
    _exit(fs::exists(path.string() + "-journal") ? 0 : 4);
}

TEST(KeyfileJournal, ReadOnlyHandleRollsBackAKilledWritersJournal) {
    const fs::path dir = ScratchFolder("journal");
    const fs::path log = dir / "calls.OV5";
    ASSERT_EQ(Create(log, CallLogDefinition()), KF_OK);
    const int32_t writer = Open(log, KF_MODE_UPDATE);
    const CallLogRecord a = Call(1, 60, "5551234", 'I', "committed");
    ASSERT_EQ(Insert(writer, &a, sizeof a), KF_OK);
    kf_CloseAll();

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        DieMidTransaction(log);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "no hot journal was left";

    const int32_t reader = Open(log, KF_MODE_READ);
    ASSERT_GE(reader, 1);
    EXPECT_EQ(kf_Count(&reader), 1);
    CallLogRecord r;
    ASSERT_EQ(Read(KF_GET_FIRST, reader, &r, sizeof r, nullptr, 0, 1), KF_OK);
    EXPECT_STREQ(r.Name, "committed");
    EXPECT_FALSE(fs::exists(log.string() + "-journal"));
    kf_CloseAll();
    fs::remove_all(dir);
}

} // namespace
