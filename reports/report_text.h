// The texts the reports print: telephone numbers, counts, dates of the headings, and the
// number-to-text form of the print engine's error message.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

// The printable number: the three kinds of withheld number by name, otherwise the digits
// grouped 3-3-4 (a leading 1 dropped, an extension after " x").
std::string FmtPhone(const std::string &number);

// Without blanks at either end.
std::string TrimBlanks(const std::string &text);
// Only the characters 0 to 9.
std::string DigitsOnly(const std::string &text);
bool HasDigit(std::string_view text);

// Decimal with a comma between each group of three digits: 1,234,567.
std::string GroupThousands(int64_t value);
// At least two digits: 07, 12, 123.
std::string TwoDigits(int32_t value);
// A number as the number-to-text conversion writes it: a leading blank when not negative.
std::string NumberToText(int32_t value);

// "05 Jan 2004" of a day number.
std::string HeadingDate(int32_t day);
// "mm-dd-yyyy" of a day number; empty when it is not a date.
std::string DayText(int32_t day);
// "hh:mm AM" of seconds since midnight; empty when out of range.
std::string Time12Text(int32_t seconds);
// The hour 0 to 23 of seconds since midnight, -1 when out of range: what Pantry's time of day
// begins with, worked out here since the statistics ask it of every record.
int32_t HourOfDay(int32_t seconds);
// 1 Sunday to 7 Saturday, 0 when the day number is not a date.
int32_t WeekdayOf(int32_t day);

// The first `limit` characters.
std::string CutText(const std::string &text, size_t limit);
