// Pantry's portable core: day numbers, times of day, month names and weekdays.
#include "pantry.h"
#include "pantry_text.h"

namespace {

bool IsLeap(int32_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int32_t DaysInMonth(int32_t y, int32_t m) {
    static const int32_t days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// Days since 03-01-0000 of the proleptic Gregorian calendar (eras of 400 years).
int32_t DaysFromCivil(int32_t y, int32_t m, int32_t d) {
    y -= m <= 2;
    const int32_t era = y / 400;
    const int32_t yoe = y - era * 400;
    const int32_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int32_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

const int32_t kEpoch = DaysFromCivil(1899, 12, 31);
const int32_t kLastDay = DaysFromCivil(9999, 12, 31) - kEpoch;

void CivilFromDays(int32_t z, int32_t &y, int32_t &m, int32_t &d) {
    const int32_t era = z / 146097;
    const int32_t doe = z - era * 146097;
    const int32_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int32_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int32_t mp = (5 * doy + 2) / 153;
    d = doy - (153 * mp + 2) / 5 + 1;
    m = mp < 10 ? mp + 3 : mp - 9;
    y = yoe + era * 400 + (m <= 2);
}

// `count` digits from text; -1 when one of them is not a digit.
int32_t ReadDigits(const char *text, int count) {
    int32_t value = 0;
    for (int i = 0; i < count; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return -1;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Writes value (0 <= value < 10^count) as `count` digits with leading zeros. By hand rather than
// with printf: Pantry then needs no C or C++ runtime formatting code at all.
void PutDigits(int32_t value, char *text, int count) {
    for (int i = count - 1; i >= 0; --i, value /= 10)
        text[i] = static_cast<char>('0' + value % 10);
}

bool ParseDate(const char *date, int32_t &m, int32_t &d, int32_t &y) {
    if (date == nullptr)
        return false;
    for (int i = 0; i < 10; ++i)
        if (date[i] == '\0')
            return false;
    if (date[10] != '\0' || date[2] != '-' || date[5] != '-')
        return false;
    m = ReadDigits(date, 2);
    d = ReadDigits(date + 3, 2);
    y = ReadDigits(date + 6, 4);
    return y >= 1900 && m >= 1 && m <= 12 && d >= 1 && d <= DaysInMonth(y, m);
}

} // namespace

extern "C" {

int32_t PANTRY_CALL DateToDays(const char *date) {
    int32_t m, d, y;
    if (!ParseDate(date, m, d, y))
        return 0;
    return DaysFromCivil(y, m, d) - kEpoch;
}

int32_t PANTRY_CALL DaysToDate(int32_t day, char *out, int32_t size) {
    if (day < 1 || day > kLastDay)
        return PutText(nullptr, out, size);
    int32_t y, m, d;
    CivilFromDays(day + kEpoch, y, m, d);
    char text[] = "mm-dd-yyyy";
    PutDigits(m, text, 2);
    PutDigits(d, text + 3, 2);
    PutDigits(y, text + 6, 4);
    return PutText(text, out, size);
}

int32_t PANTRY_CALL TimeToSeconds(const char *time) {
    if (time == nullptr)
        return -1;
    for (int i = 0; i < 8; ++i)
        if (time[i] == '\0')
            return -1;
    if (time[8] != '\0' || time[2] != ':' || time[5] != ':')
        return -1;
    const int32_t h = ReadDigits(time, 2), m = ReadDigits(time + 3, 2), s = ReadDigits(time + 6, 2);
    if (h < 0 || h > 23 || m < 0 || m > 59 || s < 0 || s > 59)
        return -1;
    return h * 3600 + m * 60 + s;
}

int32_t PANTRY_CALL SecondsToTime(int32_t seconds, char *out, int32_t size) {
    if (seconds < 0 || seconds >= 86400)
        return PutText(nullptr, out, size);
    char text[] = "hh:mm:ss";
    PutDigits(seconds / 3600, text, 2);
    PutDigits(seconds / 60 % 60, text + 3, 2);
    PutDigits(seconds % 60, text + 6, 2);
    return PutText(text, out, size);
}

int32_t PANTRY_CALL SecondsToTime12(int32_t seconds, char *out, int32_t size) {
    if (seconds < 0 || seconds >= 86400)
        return PutText(nullptr, out, size);
    const int32_t hour = seconds / 3600;
    const int32_t hour12 = hour % 12 == 0 ? 12 : hour % 12;
    char text[] = "hh:mm AM";
    PutDigits(hour12, text, 2);
    PutDigits(seconds / 60 % 60, text + 3, 2);
    text[6] = hour < 12 ? 'A' : 'P';
    return PutText(text, out, size);
}

int32_t PANTRY_CALL MonthName(int32_t month, char *out, int32_t size) {
    static const char *const names[] = {"January",   "February", "March",    "April",
                                        "May",       "June",     "July",     "August",
                                        "September", "October",  "November", "December"};
    return PutText(month >= 1 && month <= 12 ? names[month - 1] : nullptr, out, size);
}

int32_t PANTRY_CALL DOW(const char *date) {
    const int32_t day = DateToDays(date);
    // Day 1, 01-01-1900, was a Monday.
    return day == 0 ? 0 : day % 7 + 1;
}

int32_t PANTRY_CALL SplitDate(const char *date, int32_t *month, int32_t *day, int32_t *year) {
    int32_t m, d, y;
    const bool valid = ParseDate(date, m, d, y);
    if (month)
        *month = valid ? m : 0;
    if (day)
        *day = valid ? d : 0;
    if (year)
        *year = valid ? y : 0;
    return valid ? 1 : 0;
}
}
