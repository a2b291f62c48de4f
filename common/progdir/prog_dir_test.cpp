// The folder part of paths, and on Windows the program directory of this test program.
#include "prog_dir.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

TEST(FolderOfPath, KeepsDriveAndTrailingSeparator) {
    struct Case {
        const char *path, *folder;
    } const cases[] = {
        {"C:\\POS\\Ringhold.exe", "C:\\POS\\"},
        {"C:\\Ringhold.exe", "C:\\"},
        {"\\\\server\\pos\\Ringhold.exe", "\\\\server\\pos\\"},
        {"/opt/pos/ringhold", "/opt/pos/"},
        {"C:\\POS/mixed\\x.exe", "C:\\POS/mixed\\"},
        {"Ringhold.exe", ""},
        {"", ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(FolderOfPath(c.path), c.folder) << c.path;
}

#ifdef _WIN32
TEST(ProgramDirOfModule, IsTheFolderOfThisProgram) {
    const std::string dir = ProgramDirOfModule();
    ASSERT_GE(dir.size(), 3u);
    EXPECT_EQ(dir[1], ':');
    EXPECT_EQ(dir.back(), '\\');
    EXPECT_NE(GetFileAttributesA((dir + "prog_dir_test.exe").c_str()), INVALID_FILE_ATTRIBUTES);
}
#endif

} // namespace
