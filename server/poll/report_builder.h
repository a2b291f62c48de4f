// Test helper: a call report with each field at the column the unit prints it at.
#pragma once
#include "unit/unit_message.h"
#include <string>

struct TestReport {
    std::string Line = "01", Direction = "I", Event = "S", Duration = "0000", Check = "G",
                Rings = "1", Date = "12/25", Time = "09:07", Meridiem = "PM",
                Number = "555-123-4567", Name = "JOHN SMITH";

    std::string Text() const {
        std::string text(COL_NAME - 1, ' ');
        auto put = [&text](int column, const std::string &field) {
            text.replace(column - 1, field.size(), field);
        };
        put(COL_LINE, Line);
        put(COL_DIRECTION, Direction);
        put(COL_EVENT, Event);
        put(COL_DURATION, Duration);
        put(COL_CHECK, Check);
        put(COL_RINGS, Rings);
        put(COL_DATE, Date);
        put(COL_TIME, Time);
        put(COL_MERIDIEM, Meridiem);
        put(COL_NUMBER, Number);
        return text.substr(0, COL_NAME - 1) + Name;
    }
};
