// Number, date and time texts of the reports, on Pantry's conversions.
#include "report_text.h"

#include "pantry.h"
#include "record_text.h"

#include <cstdio>

namespace {

const char *const kWithheld[][2] = {
    {"OUT-OF-AREA", "OUT-OF-AREA"}, {"PRIVATE", "PRIVATE"}, {"UNKNOWN", "OUT-OF-AREA"}};
const size_t kLocalDigits = 10;
const size_t kExtensionDigits = 5;

} // namespace

std::string TrimBlanks(const std::string &text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string DigitsOnly(const std::string &text) {
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

bool HasDigit(std::string_view text) {
    for (char c : text)
        if (c >= '0' && c <= '9')
            return true;
    return false;
}

std::string FmtPhone(const std::string &number) {
    const std::string trimmed = TrimBlanks(number);
    for (const auto &withheld : kWithheld)
        if (trimmed == withheld[0])
            return withheld[1];
    std::string digits = DigitsOnly(trimmed);
    if (digits.size() < kLocalDigits)
        return digits;
    if (digits[0] == '1')
        digits.erase(0, 1);
    std::string extension;
    if (digits.size() > kLocalDigits) {
        extension = digits.substr(kLocalDigits, kExtensionDigits);
        digits.resize(kLocalDigits);
    }
    std::string text = digits.substr(0, 3) + "-" + digits.substr(3, 3) + "-" + digits.substr(6);
    if (!extension.empty())
        text += " x" + extension;
    return text;
}

std::string GroupThousands(int64_t value) {
    const std::string digits = std::to_string(value < 0 ? -value : value);
    std::string text;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            text += ',';
        text += digits[i];
    }
    return value < 0 ? "-" + text : text;
}

std::string TwoDigits(int32_t value) {
    return ZeroPadded(value, 2);
}

std::string NumberToText(int32_t value) {
    return (value < 0 ? "" : " ") + std::to_string(value);
}

std::string DayText(int32_t day) {
    char date[16];
    DaysToDate(day, date, sizeof date);
    return date;
}

std::string Time12Text(int32_t seconds) {
    char time[16];
    SecondsToTime12(seconds, time, sizeof time);
    return time;
}

int32_t HourOfDay(int32_t seconds) {
    return seconds >= 0 && seconds < 86400 ? seconds / 3600 : -1;
}

int32_t WeekdayOf(int32_t day) {
    return DOW(DayText(day).c_str());
}

std::string HeadingDate(int32_t day) {
    int32_t month = 0, dayOfMonth = 0, year = 0;
    SplitDate(DayText(day).c_str(), &month, &dayOfMonth, &year);
    char name[32];
    MonthName(month, name, sizeof name);
    char text[48];
    std::snprintf(text, sizeof text, "%02d %.3s %04d", static_cast<int>(dayOfMonth), name,
                  static_cast<int>(year));
    return text;
}

std::string CutText(const std::string &text, size_t limit) {
    return text.substr(0, limit);
}
