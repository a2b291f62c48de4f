// Reading the station display file the way an order station does.
#include "station_view.h"

#include <cstdio>
#include <cstring>

namespace {

// A field is NUL-terminated within its width; a field without a NUL is taken whole.
std::string FieldText(const char *field, size_t width) {
    return std::string(field, strnlen(field, width));
}

} // namespace

std::vector<StationLine> ParseStationDisplay(const std::string &bytes) {
    std::vector<StationLine> lines;
    for (size_t at = 0; at + sizeof(StationDisplayRecord) <= bytes.size();
         at += sizeof(StationDisplayRecord)) {
        StationDisplayRecord rec;
        std::memcpy(&rec, bytes.data() + at, sizeof rec);
        int32_t line = int32_t(at / sizeof rec) + 1;
        lines.push_back({line, FieldText(rec.Number, sizeof rec.Number),
                         FieldText(rec.Name, sizeof rec.Name),
                         FieldText(rec.Time, sizeof rec.Time)});
    }
    return lines;
}

std::string FormatStationLine(const StationLine &line) {
    char row[96];
    if (line.Number.empty() && line.Name.empty() && line.Time.empty())
        snprintf(row, sizeof row, "Line %2d  (not served)", line.Line);
    else
        snprintf(row, sizeof row, "Line %2d  %-19s  %-19s  %s", line.Line, line.Number.c_str(),
                 line.Name.c_str(), line.Time.c_str());
    return row;
}
