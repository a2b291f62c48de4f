// The log purge's days-back rules and its scan.
#include "purge_scan.h"

#include <cctype>
#include <cstdlib>
#include <limits>

int32_t DaysBackFromText(const std::string &text) {
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    int64_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > std::numeric_limits<int32_t>::max()) {
            return std::numeric_limits<int32_t>::max();
        }
    }
    return static_cast<int32_t>(value);
}

DaysBackCheck CheckDaysBack(int32_t daysBack, int32_t today) {
    if (daysBack <= 30) {
        return DaysBackCheck::TooFew;
    }
    return daysBack >= today ? DaysBackCheck::TooMany : DaysBackCheck::Accepted;
}

PurgeResult PurgeOldRecords(PurgeRecords &records, int32_t cutoffDay) {
    // 8 and 9 both mark the end of the records.
    const int32_t kEndA = 8, kEndB = 9;
    PurgeResult result;
    CallLogRecord record{};
    for (int32_t status = records.ReadFirst(record);; status = records.ReadNext(record)) {
        if (status == kEndA || status == kEndB) {
            break;
        }
        if (status != 0) {
            result.errorText = "Unexpected Error " + std::to_string(status);
            result.errorCaption = "KF_Get Error!";
            break;
        }
        if (record.Day > cutoffDay) {
            break;
        }
        const int32_t deleted = records.DeleteLastRead();
        if (deleted != 0) {
            result.errorText =
                "Unexpected Error " + std::to_string(std::llabs(static_cast<long long>(deleted)));
            result.errorCaption = "KF_Delete Error!";
            break;
        }
        records.Deleted(++result.deleted);
    }
    return result;
}
