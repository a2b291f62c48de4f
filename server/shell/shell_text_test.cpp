// Texts of the tray shell: version, start date, status sentence, autostart command, file versions.
#include "shell_text.h"

#include <gtest/gtest.h>

#include "pantry.h"

TEST(ShellText, VersionTextDropsAZeroReleaseAndPadsToTwoDigits) {
    const struct {
        VersionFound Found;
        FileVersion Version;
        const char *Expected;
    } cases[] = {
        {VersionFound::Found, {4, 10, 0, 1}, "4.10.01"},
        {VersionFound::Found, {4, 10, 2, 5}, "4.10.0205"},
        {VersionFound::Found, {4, 5, 0, 0}, "4.05.00"},
        {VersionFound::Found, {12, 100, 0, 123}, "12.100.123"},
        {VersionFound::NoResource, {4, 10, 0, 1}, "x.x"},
        {VersionFound::NoFixedPart, {4, 10, 0, 1}, "N/A"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(VersionText(c.Found, c.Version), c.Expected) << c.Expected;
}

TEST(ShellText, StartDateTextIsDayMonthAbbreviationYearOrNever) {
    const struct {
        int32_t Day;
        const char *Expected;
    } cases[] = {
        {DateToDays("01-05-2008"), "05 - Jan - 2008"},
        {DateToDays("12-31-9999"), "31 - Dec - 9999"},
        {DateToDays("09-30-1999"), "30 - Sep - 1999"},
        {0, "Never"},
        {-4, "Never"},
        {2958466, "Never"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(StartDateText(c.Day), c.Expected) << c.Day;
}

TEST(ShellText, StatusNamesTheLinkAndGivesTheStartOnlyWhileRunning) {
    const int32_t day = DateToDays("01-05-2008");
    EXPECT_EQ(ServerStatusText(9, true, 15 * 3600 + 5 * 60, day),
              "The IP caller ID server is running; it started at 03:05 PM on 05 - Jan - 2008.");
    // Before the first main loop there is no start moment to give.
    EXPECT_EQ(ServerStatusText(2, true, 0, 0),
              "The Serial caller ID server is starting up (started: Never).");
    EXPECT_EQ(ServerStatusText(9, true, 15 * 3600, 0),
              "The IP caller ID server is starting up (started: Never).");
    EXPECT_EQ(ServerStatusText(0, false, 100, day), "The Serial caller ID server is not running.");
    EXPECT_EQ(ServerStatusText(9, false, 0, 0), "The IP caller ID server is not running.");
}

TEST(ShellText, SupportedUnitsTextEndsWithTheSupplierOrTheDealer) {
    const std::string models = "This server is designed to work with the Quorl Vezedud, Quorl "
                               "Vezedud Lite, and Quorl Vezedud POS boxes which are available at ";
    EXPECT_EQ(SupportedUnitsText("www.ring-supply.test"), models + "www.ring-supply.test");
    EXPECT_EQ(SupportedUnitsText(""), models + "your caller-ID dealer");
}

TEST(ShellText, BootLaunchCommandQuotesShortPathsAndKeepsLongOnesWhole) {
    const struct {
        size_t Length;
        bool Quoted;
    } cases[] = {{20, true}, {297, true}, {298, false}, {299, false}, {1000, false}};
    for (const auto &c : cases) {
        const std::string path = "C:\\" + std::string(c.Length - 9, 'a') + "\\R.exe";
        ASSERT_EQ(path.size(), c.Length);
        const std::string expected = c.Quoted ? "\"" + path + "\"" : path;
        EXPECT_EQ(BootLaunchCommand(path), expected) << c.Length;
    }
}

TEST(ShellText, SystemFilePathJoinsWithOneBackslash) {
    EXPECT_EQ(SystemFilePath("C:\\windows\\system32", "COMCTL32.DLL"),
              "C:\\windows\\system32\\COMCTL32.DLL");
    EXPECT_EQ(SystemFilePath("C:\\", "COMCTL32.DLL"), "C:\\COMCTL32.DLL");
}

TEST(ShellText, FileVersionNumberIsMajorPlusMinorHundredths) {
    EXPECT_DOUBLE_EQ(FileVersionNumber({6, 10, 7601, 1}), 6.10);
    EXPECT_DOUBLE_EQ(FileVersionNumber({5, 82, 0, 0}), 5.82);
    EXPECT_DOUBLE_EQ(FileVersionNumber({0, 0, 0, 0}), 0.0);
}
