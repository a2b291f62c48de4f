// Station display record contents and lock file names.
#include "station_display.h"

#include "record_text.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::string Bytes(const char *field, size_t width) {
    return std::string(field, width);
}

TEST(StationDisplayRecord, ContentsOfEachState) {
    struct Case {
        StationDisplayRecord rec;
        const char *number, *name, *time;
    } const cases[] = {
        {WaitingRecord(), "Waiting", "For Call", ""},
        {OfflineRecord("21:07:33"), "SERVER", "OFFLINE", "21:07:33"},
        {CallRecord("555-123-4567", "ANNA LOPEZ", "09:07 PM"), "555-123-4567", "ANNA LOPEZ",
         "09:07 PM"},
    };
    for (const Case &c : cases) {
        // Every byte after a text is NUL, as the order stations read whole fields.
        EXPECT_EQ(Bytes(c.rec.Number, 20), Bytes(c.number, std::strlen(c.number)) +
                                               std::string(20 - std::strlen(c.number), '\0'));
        EXPECT_EQ(Bytes(c.rec.Name, 20),
                  Bytes(c.name, std::strlen(c.name)) + std::string(20 - std::strlen(c.name), '\0'));
        EXPECT_EQ(Bytes(c.rec.Time, 10),
                  Bytes(c.time, std::strlen(c.time)) + std::string(10 - std::strlen(c.time), '\0'));
    }
}

TEST(StationDisplayRecord, LongTextsAreCut) {
    const std::string name25 = "ABCDEFGHIJKLMNOPQRSTUVWXY";
    StationDisplayRecord rec = CallRecord(std::string(30, '9'), name25, "12:05 AM LONG");
    EXPECT_EQ(GetTextNul(rec.Number), std::string(19, '9'));
    EXPECT_EQ(GetTextNul(rec.Name), name25.substr(0, 19));
    EXPECT_EQ(rec.Name[19], '\0');
    EXPECT_EQ(GetTextNul(rec.Time), "12:05 AM ");
    rec = CallRecord("1", "*" + name25, "");
    EXPECT_EQ(GetTextNul(rec.Name), "*" + name25.substr(0, 18));
}

TEST(LineLockFileName, AtLeastTwoDigits) {
    struct Case {
        int32_t line;
        const char *name;
    } const cases[] = {{1, "CONTROL\\LINE01.LCK"},
                       {12, "CONTROL\\LINE12.LCK"},
                       {100, "CONTROL\\LINE100.LCK"},
                       {255, "CONTROL\\LINE255.LCK"}};
    for (const Case &c : cases)
        EXPECT_EQ(LineLockFileName(c.line), c.name);
}

} // namespace
