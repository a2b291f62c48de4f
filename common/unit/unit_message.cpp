// Reading the unit's call reports: fields by column, number classes, and the unit's date and
// time turned into the day numbers and seconds that the call log stores.
#include "unit_message.h"

#include "pantry.h"
#include "record_text.h"

#include <cctype>
#include <climits>
#include <cstdlib>
#include <ctime>

namespace {

const size_t kLastColumn = 80;

std::string Trim(const std::string &text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// The month and day of "mm/dd"; false when either is not a number.
bool ReadMonthDay(const std::string &field, int32_t &month, int32_t &day) {
    const size_t slash = field.find('/');
    if (slash == std::string::npos || field.empty() ||
        !std::isdigit(static_cast<unsigned char>(field[0])) || slash + 1 >= field.size() ||
        !std::isdigit(static_cast<unsigned char>(field[slash + 1])))
        return false;
    month = ReadLeadingNumber(field);
    day = ReadLeadingNumber(field.substr(slash + 1));
    return true;
}

// The day number of the unit's month and day in the latest year in which that month and day
// is at most one day after today; 0 when that year does not have the day. The year is chosen
// from month and day alone: looking further back for a year that has the day (02/29) would put
// the call years in the past, out of today's reports and into the next purge.
int32_t LatestDayNumber(int32_t month, int32_t day, const CivilDate &today, int32_t &year) {
    char text[16] = "";
    DaysToDate(DateToDays(CivilDateText(today).c_str()) + 1, text, sizeof text);
    const CivilDate tomorrow{std::atoi(text + 6), std::atoi(text), std::atoi(text + 3)};
    const bool afterTomorrow =
        month > tomorrow.Month || (month == tomorrow.Month && day > tomorrow.Day);
    year = afterTomorrow ? tomorrow.Year - 1 : tomorrow.Year;
    return DateToDays(CivilDateText({year, month, day}).c_str());
}

} // namespace

std::string GetField(int32_t column, const std::string &report) {
    if (column < 1 || column > COL_NAME || static_cast<size_t>(column) > report.size())
        return "";
    std::string field;
    for (size_t i = column - 1; i < report.size() && i < kLastColumn; ++i) {
        const char c = report[i];
        if (c == '\0' || (c == ' ' && column != COL_NAME))
            break;
        field += c;
    }
    return field;
}

std::string ClassifyNumber(const std::string &field) {
    std::string word = Trim(field);
    for (char &c : word)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    for (const char *withheld : {"UNKNOWN", "OUT-OF-AREA", "PRIVATE"})
        if (word == withheld)
            return word;
    std::string digits;
    for (char c : field)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

int32_t ReadLeadingNumber(const std::string &text) {
    size_t i = text.find_first_not_of(' ');
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > INT32_MAX)
            return INT32_MAX;
    }
    return static_cast<int32_t>(value);
}

std::string UnitDateToText(const std::string &field, const CivilDate &today) {
    int32_t month = 0, day = 0, year = today.Year;
    if (ReadMonthDay(field, month, day) && LatestDayNumber(month, day, today, year) != 0)
        return CivilDateText({year, month, day});
    std::string text = field;
    for (char &c : text)
        if (c == '/')
            c = '-';
    return text + "-" + ZeroPadded(today.Year, 4);
}

std::string UnitTimeTo24h(const std::string &time, const std::string &meridiem) {
    const size_t colon = time.find(':');
    int32_t hour = ReadLeadingNumber(time.substr(0, colon));
    if (meridiem == "PM" && hour < 12)
        hour += 12;
    else if (meridiem != "PM" && hour == 12)
        hour = 0;
    std::string minutes;
    if (colon != std::string::npos) {
        const size_t end = time.find(':', colon + 1);
        minutes = time.substr(colon + 1, end == std::string::npos ? end : end - colon - 1);
    }
    return ZeroPadded(hour, 2) + ":" + minutes + ":00";
}

int32_t UnitDateToDays(const std::string &field, const CivilDate &today) {
    int32_t month = 0, day = 0, year = 0;
    if (ReadMonthDay(field, month, day)) {
        const int32_t days = LatestDayNumber(month, day, today, year);
        if (days != 0)
            return days;
    }
    return DateToDays(CivilDateText(today).c_str());
}

int32_t UnitTimeToSeconds(const std::string &time, const std::string &meridiem,
                          int32_t nowSeconds) {
    const int32_t seconds = TimeToSeconds(UnitTimeTo24h(time, meridiem).c_str());
    return seconds < 0 ? nowSeconds : seconds;
}

std::string ReportFromDatagram(const std::string &datagram) {
    const size_t headerLength = 21;
    if (datagram.find("^^<U>") == std::string::npos || datagram.size() <= headerLength)
        return "";
    return datagram.substr(headerLength);
}

std::string CivilDateText(const CivilDate &date) {
    return ZeroPadded(date.Month, 2) + "-" + ZeroPadded(date.Day, 2) + "-" +
           ZeroPadded(date.Year, 4);
}

namespace {
std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}
} // namespace

CivilDate LocalToday() {
    const std::tm local = LocalNow();
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

int32_t LocalSecondsNow() {
    const std::tm local = LocalNow();
    return local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec;
}
