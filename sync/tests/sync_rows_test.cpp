// Records as rows: texts, dates and times as the head office stores them, the status file and
// the schema script's statements.
#include "sync_rows.h"
#include "sync_schema.h"
#include "sync_status.h"

#include "record_text.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(SyncRows, ConvertsWindows1252ToUtf8AndBack) {
    const struct {
        const char *Cp1252, *Utf8;
    } cases[] = {
        {"Caf\xe9 M\xfcller", "Caf\xc3\xa9 M\xc3\xbcller"},
        {"\x80 5", "\xe2\x82\xac 5"},
        {"\x93quoted\x94", "\xe2\x80\x9cquoted\xe2\x80\x9d"},
        {"\x81\x8d\x8f\x90\x9d", "\xc2\x81\xc2\x8d\xc2\x8f\xc2\x90\xc2\x9d"},
        {"\xff", "\xc3\xbf"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.Utf8, Cp1252ToUtf8(c.Cp1252)) << c.Utf8;
        EXPECT_EQ(c.Cp1252, Utf8ToCp1252(c.Utf8)) << c.Utf8;
    }
    EXPECT_EQ("a?b", Utf8ToCp1252("a\xe4\xb8\xad"
                                  "b")); // not in the code page
}

TEST(SyncRows, GivesSqlDatesAndTimesOnlyForValidValues) {
    EXPECT_EQ("1900-01-01", SqlDateOfDay(1));
    EXPECT_EQ("2004-01-05", SqlDateOfDay(37990));
    EXPECT_EQ("9999-12-31", SqlDateOfDay(2958464));
    EXPECT_EQ("", SqlDateOfDay(0));
    EXPECT_EQ("", SqlDateOfDay(2958465));
    EXPECT_EQ("00:05:00", SqlTimeOfSeconds(300));
    EXPECT_EQ("23:59:59", SqlTimeOfSeconds(86399));
    EXPECT_EQ("", SqlTimeOfSeconds(86400));
    EXPECT_EQ("", SqlTimeOfSeconds(-1));
}

TEST(SyncRows, TakesEveryFieldOfARecord) {
    CallLogRecord rec;
    std::memset(&rec, 0, sizeof rec);
    rec.Seconds = 43500;
    rec.Day = 37990;
    PutTextNul(rec.ExtraDigits, "12#");
    PutTextPadded(rec.Number, "5551234567");
    PutTextNul(rec.Name, "O'Brien \xe9");
    rec.Duration = 95;
    rec.Line = 3;
    rec.Rings = 2;
    rec.Direction = 'O';
    rec.Status = LOG_STATUS_CID_ERROR;
    const CallRow row = RowOfRecord(rec, 2);
    EXPECT_EQ("2004-01-05", row.CallDay);
    EXPECT_EQ("12:05:00", row.CallTime);
    EXPECT_EQ("5551234567", row.Number);
    EXPECT_EQ("O'Brien \xc3\xa9", row.Name);
    EXPECT_EQ("12#", row.ExtraDigits);
    EXPECT_EQ("O", row.Direction);
    EXPECT_EQ(95, row.DurationS);
    EXPECT_EQ(3, row.Line);
    EXPECT_EQ(2, row.Rings);
    EXPECT_FALSE(row.StartOnly);
    EXPECT_TRUE(row.CallerIdError);
    EXPECT_EQ(2, row.Occurrence);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(&rec), sizeof rec), row.Record);

    PutTextPadded(rec.Number, "  PRIVATE");
    rec.Status = LOG_STATUS_AT_START;
    const CallRow start = RowOfRecord(rec, 0);
    EXPECT_EQ("PRIVATE", start.Number);
    EXPECT_TRUE(start.StartOnly);
    EXPECT_FALSE(start.CallerIdError);

    const std::string sql = InsertRowsStatement("s'1", {row});
    EXPECT_NE(std::string::npos, sql.find("('s''1','2004-01-05'::date,'12:05:00'::time,"
                                          "'5551234567','O''Brien \xc3\xa9','12#',95,3,2,'O',"
                                          "false,true,decode('"));
    EXPECT_NE(std::string::npos, sql.find("','hex'),2) ON CONFLICT DO NOTHING"));
}

TEST(SyncStatus, WritesEveryLineWithCrLfAndTheErrorOnOneLineIn1252) {
    PassStatus status;
    status.End = {2026, 3, 7, 9, 5, 2};
    status.Sent = 12;
    status.Total = 36500;
    status.Ok = true;
    EXPECT_EQ("result=ok\r\ntime=03-07-2026 09:05:02\r\nsent=12\r\ntotal=36500\r\nerror=\r\n",
              StatusFileText(status));
    status.Ok = false;
    status.Sent = 0;
    status.Error = "cannot connect: could not connect to server\nIs the server running on "
                   "\xe2\x80\x9chq\xe2\x80\x9d?\r\n";
    EXPECT_EQ("result=error\r\ntime=03-07-2026 09:05:02\r\nsent=0\r\ntotal=36500\r\n"
              "error=cannot connect: could not connect to server Is the server running on "
              "\x93hq\x94?\r\n",
              StatusFileText(status));
}

TEST(SyncSchema, SplitsTheScriptIntoWholeStatements) {
    const std::vector<std::string> statements = SplitSqlScript(SchemaScript());
    ASSERT_EQ(17u, statements.size());
    size_t bodies = 0;
    for (const std::string &s : statements) {
        EXPECT_EQ(std::string::npos, s.find("--")) << s;
        EXPECT_TRUE(s.compare(0, 6, "CREATE") == 0 || s.compare(0, 2, "DO") == 0) << s;
        bodies += s.find("\nEND\n$$") != std::string::npos;
    }
    EXPECT_EQ(3u, bodies); // the trigger's and the two blocks', each whole
    const std::vector<std::string> quoted = SplitSqlScript("SELECT 'a;b' -- c;d\n; SELECT 2;");
    ASSERT_EQ(2u, quoted.size());
    EXPECT_EQ("SELECT 'a;b' \n", quoted[0]);
    EXPECT_EQ("SELECT 2", quoted[1]);
}
