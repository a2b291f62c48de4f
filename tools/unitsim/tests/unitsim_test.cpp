// The simulated unit must speak exactly as the host reads: report columns, option replies.
#include "call_report.h"
#include "scenario.h"
#include "unit_commands.h"
#include "unit_message.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

TEST(FormatCallReport, FieldsReadBackAtTheirColumns) {
    CallEvent call;
    std::string error;
    ASSERT_TRUE(ParseCall("line=2,dir=I,event=E,dur=125,check=G,rings=3,date=12/31,time=13:05,"
                          "number=555-123-4567,name=\"JOHN Q, SMITH\"",
                          call, error))
        << error;
    const std::string report = FormatCallReport(call);
    struct Field {
        int column;
        const char *text;
    };
    const Field fields[] = {{COL_LINE, "02"},           {COL_DIRECTION, "I"},
                            {COL_EVENT, "E"},           {COL_DURATION, "0125"},
                            {COL_CHECK, "G"},           {COL_RINGS, "3"},
                            {COL_DATE, "12/31"},        {COL_TIME, "01:05"},
                            {COL_MERIDIEM, "PM"},       {COL_NUMBER, "555-123-4567"},
                            {COL_NAME, "JOHN Q, SMITH"}};
    for (const Field &f : fields) {
        EXPECT_EQ(GetField(f.column, report), f.text) << "column " << f.column;
    }
}

TEST(FormatCallReport, ClockAndBlankFields) {
    struct Case {
        const char *fields;
        int column;
        const char *text;
    };
    const Case cases[] = {
        {"time=00:10", COL_TIME, "12:10"},  {"time=00:10", COL_MERIDIEM, "AM"},
        {"time=12:00", COL_MERIDIEM, "PM"}, {"time=01:30pm", COL_MERIDIEM, "pm"},
        {"number=PRIVATE", COL_NAME, ""},   {"dir=O,event=E,name=1234#", COL_NAME, "1234#"},
        {"check=E", COL_CHECK, "E"},        {"number=OUT-OF-AREA", COL_NUMBER, "OUT-OF-AREA"},
    };
    for (const Case &c : cases) {
        CallEvent call;
        std::string error;
        ASSERT_TRUE(ParseCall(c.fields, call, error)) << c.fields << ": " << error;
        EXPECT_EQ(GetField(c.column, FormatCallReport(call)), c.text) << c.fields;
    }
}

TEST(ParseStepLine, RejectsWhatItCannotRead) {
    std::vector<Step> steps;
    std::string error;
    for (const char *bad : {"call line=x", "call dir=IO", "wait -1", "long 0", "jump 3",
                            "call time=25:00", "call name=\"open", "flood 0 10 line=1",
                            "flood 5 x line=1", "flood 5 10", "flood 5 10 line=x"}) {
        EXPECT_FALSE(ParseStepLine(bad, steps, error)) << bad;
    }
    EXPECT_TRUE(steps.empty());
    ASSERT_TRUE(ParseStepLine("raw 01 I\\x00\\t\\r\\n\\\\", steps, error));
    EXPECT_EQ(steps.back().bytes, std::string("01 I\0\t\r\n\\", 9));
    EXPECT_TRUE(ParseStepLine("  # comment", steps, error));
    EXPECT_EQ(steps.size(), 1u);
    ASSERT_TRUE(ParseStepLine("flood 100000 10000 line=3,name=FLOOD", steps, error)) << error;
    EXPECT_EQ(steps.back().kind, Step::Flood);
    EXPECT_EQ(steps.back().count, 100000);
    EXPECT_EQ(steps.back().perSecond, 10000);
    EXPECT_EQ(steps.back().call.line, 3);
    EXPECT_EQ(steps.back().call.name, "FLOOD");
}

TEST(UnitCommands, OptionsSetOneLetterAtATimeInTheCaseSent) {
    UnitState unit;
    unit.options = "ECXUDASOBKT";
    std::string log;
    for (char c : std::string("ot")) {
        EXPECT_EQ(AnswerSerialByte(unit, c, log), "");
    }
    EXPECT_EQ(log, "option t");
    EXPECT_EQ(unit.options, "ECXUDASoBKt");
    UnitState fresh;
    for (char c : std::string(UNIT_OPTIONS)) {
        AnswerDatagram(fresh, std::string("^^Id-") + c, log);
    }
    EXPECT_EQ(fresh.options, UNIT_OPTIONS);
}

TEST(UnitCommands, RepliesReadAsTheHostReadsThem) {
    UnitState unit;
    unit.options = UNIT_OPTIONS;
    std::string log;
    const std::string line = AnswerSerialByte(unit, 'V', log);
    EXPECT_NE(line.find(UNIT_OPTIONS), std::string::npos);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
    EXPECT_GE(line.size(), 32u) << "a short status line reads as an error to the host";
    EXPECT_EQ(AnswerSerialByte(unit, '@', log), "#");
    unit.probeAnswer = '!';
    EXPECT_EQ(AnswerSerialByte(unit, '@', log), "!");
    const std::string reply = AnswerDatagram(unit, "^^Id-V", log);
    EXPECT_EQ(reply.substr(0, 5), "^^<U>");
    EXPECT_EQ(reply.substr(21, 10), "UNITSIM-8 ");
    EXPECT_EQ(reply.substr(31, 12), std::string(UNIT_OPTIONS) + " ");
    EXPECT_EQ(ReportFromDatagram(DatagramHeader(unit) + "01 I S"), "01 I S");
    unit.silent = true;
    EXPECT_EQ(AnswerSerialByte(unit, 'V', log), "");
    EXPECT_EQ(AnswerDatagram(unit, "^^IdX", log), "");
}

TEST(UnitCommands, IdentifyReplyFields) {
    UnitState unit;
    const uint8_t ip[4] = {192, 168, 1, 20};
    std::memcpy(unit.ip, ip, 4);
    unit.port = 3520;
    std::string log;
    const std::string reply = AnswerDatagram(unit, "^^IdX", log);
    EXPECT_EQ(log, "IdX");
    EXPECT_EQ(reply.substr(reply.find("<I>") + 3, 5), std::string("\xC0\xA8\x01\x14<", 5));
    EXPECT_EQ(reply.substr(reply.find("<S>") + 3, 7), std::string("\x01\x02\x03\x04\x05\x06$"));
    EXPECT_EQ(reply.substr(reply.find("<T>") + 3, 3), std::string("\x0D\xC0<", 3));
}

TEST(DemoCalls, EveryStartIsEndedOnTheSameLine) {
    DemoCalls demo(3, 600, 7);
    int open[4] = {0, 0, 0, 0};
    int starts = 0;
    for (int64_t now = 0; now < 3600 * 1000; now += 250) {
        for (const CallEvent &call : demo.Due(now)) {
            ASSERT_GE(call.line, 1);
            ASSERT_LE(call.line, 3);
            open[call.line] += call.event == 'S' ? 1 : -1;
            ASSERT_GE(open[call.line], 0);
            ASSERT_LE(open[call.line], 1) << "two calls at once on line " << call.line;
            starts += call.event == 'S';
        }
    }
    EXPECT_GT(starts, 100);
}

} // namespace
