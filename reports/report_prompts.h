// What a report asks of the person running it: the range to report on, and its messages.
#pragma once
#include <cstdint>
#include <string>

// A continuous span from (start date, start time) to (end date, end time), inclusive, and the
// weekdays wanted: bit d for weekday d, 1 Sunday to 7 Saturday.
struct ReportRange {
    int32_t dayMask = 0;
    int32_t startDate = 0; // day numbers
    int32_t endDate = 0;
    int32_t startTime = 0; // seconds since midnight
    int32_t endTime = 0;
};

enum class MessageIcon { None, Error };

class ReportPrompts {
  public:
    virtual ~ReportPrompts() = default;
    virtual void Message(const std::string &text, const std::string &caption, MessageIcon icon) = 0;
    // 0 when the person cancelled; otherwise the range is filled in.
    virtual int32_t AskRange(const std::string &title, ReportRange &range) = 0;
};
