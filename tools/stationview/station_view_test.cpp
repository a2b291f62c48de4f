// The viewer must show what the order stations see, and survive a file cut mid-record.
#include <gtest/gtest.h>

#include <cstring>

#include "station_view.h"

namespace {

std::string RecordBytes(const char *number, const char *name, const char *time) {
    StationDisplayRecord rec{};
    std::strncpy(rec.Number, number, sizeof rec.Number - 1);
    std::strncpy(rec.Name, name, sizeof rec.Name - 1);
    std::strncpy(rec.Time, time, sizeof rec.Time - 1);
    return std::string(reinterpret_cast<const char *>(&rec), sizeof rec);
}

TEST(StationView, LinesNumberedFromOneAndUnservedRecordsMarked) {
    std::string file = std::string(50, '\0') +
                       RecordBytes("555-123-4567", "JOHN SMITH", "09:07 PM") +
                       RecordBytes("Waiting", "For Call", "") + "partial";
    auto lines = ParseStationDisplay(file);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(FormatStationLine(lines[0]), "Line  1  (not served)");
    EXPECT_EQ(lines[1].Line, 2);
    EXPECT_EQ(lines[1].Name, "JOHN SMITH");
    EXPECT_EQ(lines[1].Time, "09:07 PM");
    EXPECT_EQ(lines[2].Number, "Waiting");
}

TEST(StationView, FieldWithoutTerminatorStaysWithinItsWidth) {
    StationDisplayRecord rec;
    std::memset(&rec, 'X', sizeof rec);
    auto lines = ParseStationDisplay(std::string(reinterpret_cast<const char *>(&rec), sizeof rec));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Number, std::string(20, 'X'));
    EXPECT_EQ(lines[0].Time, std::string(10, 'X'));
}

} // namespace
