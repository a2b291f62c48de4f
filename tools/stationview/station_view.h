// Reading the station display file the way an order station does, for the viewer and tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "station_display_record.h"

struct StationLine {
    int32_t Line;
    std::string Number, Name, Time;
};

// The lines of a display file's bytes; a record cut short by a concurrent write is left out.
std::vector<StationLine> ParseStationDisplay(const std::string &bytes);
// One text row per line, as the viewer prints it.
std::string FormatStationLine(const StationLine &line);
