// Calls from the simulated unit through the running Ringhold into the station display file, the
// raw capture and the call log, over the UDP link and the serial link.
#include <gtest/gtest.h>

#include <cstring>

#include "e2e_session.h"
#include "excl_record.h"
#include "file_names.h"
#include "record_text.h"

namespace {

// Waits until the raw capture holds `count` lines: by then the server has handled every report.
// Reading it while the server appends is safe: the server lets readers in and this reader lets
// writers in, so neither side can cost the other a report.
bool WaitForRawLines(const ProgramDir &dir, size_t count) {
    return WaitUntil(
        [&] {
            std::string raw = ReadWholeFile(dir.Path(RAW_FILE));
            size_t lines = 0;
            for (size_t at = 0; (at = raw.find("\r\n", at)) != std::string::npos; at += 2)
                lines++;
            return lines >= count;
        },
        CALLS_WAIT_MS);
}

std::string RawCapture(const std::vector<std::string> &reports) {
    std::string raw;
    for (const std::string &report : reports)
        raw += report + "\r\n";
    return raw;
}

CallLogRecord LogRecord(const TestCall &call, const std::string &number, const std::string &name,
                        uint32_t status) {
    CallLogRecord record;
    std::memset(&record, 0, sizeof record);
    record.Seconds = Seconds(call.Time24);
    record.Day = TodayDay();
    PutTextPadded(record.Number, number);
    PutTextNul(record.Name, name);
    record.Line = (int16_t)call.Line;
    record.Direction = 'I';
    record.Status = status;
    return record;
}

// Compares whole records so that stray bytes in padding or reserved space are caught too.
void ExpectLog(const std::vector<CallLogRecord> &got, const std::vector<CallLogRecord> &wanted) {
    ASSERT_EQ(got.size(), wanted.size());
    for (size_t i = 0; i < got.size(); i++) {
        EXPECT_EQ(0, std::memcmp(&got[i], &wanted[i], sizeof(CallLogRecord)))
            << "record " << i << ": line " << got[i].Line << " number '"
            << GetTextPadded(got[i].Number) << "' name '" << GetTextNul(got[i].Name) << "' seconds "
            << got[i].Seconds << " day " << got[i].Day << " status " << got[i].Status
            << " duration " << got[i].Duration << " rings " << got[i].Rings << " direction "
            << got[i].Direction << " extra '" << GetTextNul(got[i].ExtraDigits) << "'";
    }
}

void ExpectShown(const ProgramDir &dir, int line, const StationDisplayRecord &wanted) {
    StationDisplayRecord shown;
    ASSERT_TRUE(ReadDisplayRecord(dir, line, shown)) << "line " << line;
    EXPECT_TRUE(SameRecord(shown, wanted))
        << "line " << line << " shows '" << GetTextNul(shown.Number) << "' '"
        << GetTextNul(shown.Name) << "' '" << GetTextNul(shown.Time) << "', wanted '"
        << GetTextNul(wanted.Number) << "' '" << GetTextNul(wanted.Name) << "' '"
        << GetTextNul(wanted.Time) << "'";
}

class CallsOverLink : public ::testing::TestWithParam<LinkKind> {
  protected:
    void SetUp() override {
        int server, unit;
        if (GetParam() == LinkKind::Serial && !SerialPair(server, unit))
            GTEST_SKIP() << "the serial pair is set up by ringhold_e2e_linux_test";
    }
};

// Basic logging and raw capture: inbound starts are shown and logged, everything is captured.
TEST_P(CallsOverLink, ReachDisplayRawCaptureAndBasicLog) {
    Session session(GetParam());
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4, CFG_LOGGING | CFG_RAW_OUTPUT)));

    const TestCall first{1, 'I', 'S', "555-123-4567", "JOHN SMITH", "13:05"};
    const TestCall longName{2, 'I', 'S', "555-222-3333", "A NAME OF TWENTY FIVE CHS", "09:07"};
    const TestCall badCheck{3, 'I', 'S', "OUT-OF-AREA", "OUT-OF-AREA", "00:05", 0, 2, 'E'};
    const TestCall outbound{4, 'O', 'S', "555-444-5555", "OUTBOUND", "13:06"};
    const TestCall outOfRange{7, 'I', 'S', "555-666-7777", "SEVENTH LINE", "13:07"};
    const TestCall endOfFirst{1, 'I', 'E', "555-123-4567", "", "13:08", 65, 3};
    std::vector<std::string> sent =
        session.PlayCalls({first, longName, badCheck, outbound, outOfRange, endOfFirst});
    ASSERT_EQ(sent.size(), 6u);
    ASSERT_TRUE(WaitForRawLines(session.Dir, sent.size()));

    EXPECT_EQ(ReadWholeFile(session.Dir.Path(RAW_FILE)), RawCapture(sent));
    ExpectShown(session.Dir, 1, CallRecord(first)); // an end of call leaves it (flag 7 clear)
    ExpectShown(session.Dir, 2,
                MakeDisplayRecord("555-222-3333", "A NAME OF TWENTY FI", "09:07 AM"));
    ExpectShown(session.Dir, 3, MakeDisplayRecord("OUT-OF-AREA", "*OUT-OF-AREA", "12:05 AM"));
    ExpectShown(session.Dir, 4, WaitingRecord());
    // Lines outside the range are never written.
    EXPECT_EQ(ReadWholeFile(session.Dir.Path(DISPLAY_FILE)).size(),
              4 * sizeof(StationDisplayRecord));

    ExpectLog(ReadCallLog(session.Dir),
              {LogRecord(badCheck, "OUT-OF-AREA", "OUT-OF-AREA", 3),
               LogRecord(longName, "5552223333", "A NAME OF TWENTY FIVE CHS", 1),
               LogRecord(first, "5551234567", "JOHN SMITH", 1)});
}

INSTANTIATE_TEST_SUITE_P(Links, CallsOverLink, ::testing::Values(LinkKind::Udp, LinkKind::Serial),
                         [](const ::testing::TestParamInfo<LinkKind> &info) {
                             return info.param == LinkKind::Udp ? "Udp" : "Serial";
                         });

// Full logging of inbound and outbound calls with the display refreshed at the end of calls.
TEST(Calls, FullLoggingLogsEndsWithDurationRingsAndTheStartName) {
    Session session;
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 0, 4,
                                               CFG_LOGGING | CFG_FULL_LOG | CFG_LOG_OUTBOUND |
                                                   CFG_RAW_OUTPUT | CFG_REFRESH_END)));

    const TestCall start{1, 'I', 'S', "555-123-4567", "JOHN SMITH", "13:05"};
    const TestCall outStart{2, 'O', 'S', "555-777-8888", "", "13:06"};
    const TestCall end{1, 'I', 'E', "555-123-4567", "", "13:07", 65, 3};
    const TestCall outEnd{2, 'O', 'E', "555-777-8888", "1234#", "13:08", 20, 0};
    const TestCall endWithoutStart{3, 'I', 'E', "555-000-1111", "", "13:09", 10, 2, 'X'};
    std::vector<std::string> sent =
        session.PlayCalls({start, outStart, end, outEnd, endWithoutStart});
    ASSERT_TRUE(WaitForRawLines(session.Dir, sent.size()));

    ExpectShown(session.Dir, 1, WaitingRecord()); // refreshed by the end of the call
    ExpectShown(session.Dir, 2, WaitingRecord()); // outbound calls are never shown
    ExpectShown(session.Dir, 3, WaitingRecord());

    CallLogRecord inbound = LogRecord(end, "5551234567", "JOHN SMITH", 0);
    inbound.Duration = 65;
    inbound.Rings = 3;
    CallLogRecord outbound = LogRecord(outEnd, "5557778888", "", 0);
    outbound.Duration = 20;
    outbound.Direction = 'O';
    PutTextNul(outbound.ExtraDigits, "1234#");
    CallLogRecord unknownStart = LogRecord(endWithoutStart, "5550001111", "", LOG_STATUS_CID_ERROR);
    unknownStart.Duration = 10;
    unknownStart.Rings = 2;
    ExpectLog(ReadCallLog(session.Dir), {inbound, outbound, unknownStart});
}

// Both exclusion lists, created through KEYFILE as Ringtune creates them, and withheld numbers.
TEST(Calls, ExclusionListsAndWithheldNumbersKeepCallsOffDisplayAndLog) {
    Session session;
    ASSERT_TRUE(CreateExclusionList(session.Dir.Path(EXCL_SHOW_FILE), {"5551112222"}));
    ASSERT_TRUE(CreateExclusionList(session.Dir.Path(EXCL_LOG_FILE), {"5553334444"}));
    ASSERT_TRUE(session.StartServer(MakeConfig(0, 1, 4,
                                               CFG_LOGGING | CFG_RAW_OUTPUT | CFG_EXCL_SHOW |
                                                   CFG_EXCL_LOG | CFG_NO_LOG_WITHHELD)));

    const TestCall notShown{1, 'I', 'S', "555-111-2222", "NOT SHOWN"};
    const TestCall notLogged{2, 'I', 'S', "555-333-4444", "NOT LOGGED"};
    const TestCall withheld{3, 'I', 'S', "PRIVATE", "PRIVATE CALLER"};
    const TestCall plain{4, 'I', 'S', "555-999-0000", "PLAIN CALLER"};
    std::vector<std::string> sent = session.PlayCalls({notShown, notLogged, withheld, plain});
    ASSERT_TRUE(WaitForRawLines(session.Dir, sent.size()));

    ExpectShown(session.Dir, 1, WaitingRecord());
    ExpectShown(session.Dir, 2, CallRecord(notLogged));
    ExpectShown(session.Dir, 3, CallRecord(withheld));
    ExpectShown(session.Dir, 4, CallRecord(plain));
    ExpectLog(ReadCallLog(session.Dir), {LogRecord(notShown, "5551112222", "NOT SHOWN", 1),
                                         LogRecord(plain, "5559990000", "PLAIN CALLER", 1)});
}

// With the filter on, a datagram from another address is dropped before it is even captured.
TEST(Calls, SenderFilterTakesOnlyTheUnitAddress) {
    if (!LinuxSimAvailable())
        GTEST_SKIP() << "the Linux simulator is run by ringhold_e2e_linux_test";
    Session session;
    CidConfig cfg = MakeConfig(0, 1, 4, CFG_RAW_OUTPUT | CFG_FILTER_UNIT_IP);
    const uint8_t unitIp[4] = {127, 0, 0, 5};
    std::memcpy(cfg.UnitIp, unitIp, 4);
    ASSERT_TRUE(session.StartServer(cfg));

    const TestCall stranger{1, 'I', 'S', "555-000-0007", "STRANGER"};
    const TestCall unit{2, 'I', 'S', "555-000-0005", "FROM THE UNIT"};
    std::vector<std::string> dropped =
        session.PlayCalls({stranger}, "--from 127.0.0.7", SimSide::Linux);
    std::vector<std::string> taken = session.PlayCalls({unit}, "--from 127.0.0.5", SimSide::Linux);
    ASSERT_EQ(dropped.size(), 1u);
    ASSERT_EQ(taken.size(), 1u);
    // Datagrams are handled in arrival order, so the stranger's has been handled by now.
    ASSERT_TRUE(WaitForDisplay(session.Dir, 2, CallRecord(unit), CALLS_WAIT_MS));
    ExpectShown(session.Dir, 1, WaitingRecord());
    EXPECT_EQ(ReadWholeFile(session.Dir.Path(RAW_FILE)), RawCapture(taken));
}

} // namespace
