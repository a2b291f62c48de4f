// The contents of station display records and the names of the line lock files.
#include "station_display.h"

#include "file_names.h"
#include "record_text.h"

namespace {
StationDisplayRecord MakeRecord(const std::string &number, const std::string &name,
                                const std::string &time) {
    StationDisplayRecord rec;
    PutTextNul(rec.Number, number);
    PutTextNul(rec.Name, name);
    PutTextNul(rec.Time, time);
    return rec;
}
} // namespace

StationDisplayRecord WaitingRecord() {
    return MakeRecord("Waiting", "For Call", "");
}

StationDisplayRecord OfflineRecord(const std::string &hhmmss) {
    return MakeRecord("SERVER", "OFFLINE", hhmmss);
}

StationDisplayRecord CallRecord(const std::string &number, const std::string &name,
                                const std::string &time) {
    return MakeRecord(number, name, time);
}

std::string LineLockFileName(int32_t line) {
    return std::string(CONTROL_DIR) + "LINE" + ZeroPadded(line, 2) + ".LCK";
}
