// CSV rows as spreadsheets get them, the conversions between Windows-1252 and UTF-8, and the
// reader on the files spreadsheets and careless writers produce.
#include "csv.h"

#include <gtest/gtest.h>

namespace {

using Fields = std::vector<std::string>;

TEST(CsvLine, QuotesGuardsFormulasAndWritesUtf8) {
    struct Case {
        const char *name;
        Fields fields;
        std::string line;
    } cases[] = {
        {"comma", {"Luigi, Pizza", "5551234"}, "\"Luigi, Pizza\",5551234\r\n"},
        {"quote", {"say \"hi\""}, "\"say \"\"hi\"\"\"\r\n"},
        {"formula", {"=SUM(A1)"}, "'=SUM(A1)\r\n"},
        {"accent", {"Caf\xE9"}, "Caf\xC3\xA9\r\n"},
        {"every formula start", {"+1", "-x", "@a", "\tt", "\rr"}, "'+1,'-x,'@a,'\tt,\"'\rr\"\r\n"},
        {"formula with comma", {"=A1,B1"}, "\"'=A1,B1\"\r\n"},
        {"line break", {"two\r\nlines"}, "\"two\r\nlines\"\r\n"},
        {"empty fields", {"", "7", ""}, ",7,\r\n"},
        {"quote inside, not first", {"a=b'c"}, "a=b'c\r\n"},
        {"high bytes", {"\x80\x9F\x81"}, "\xE2\x82\xAC\xC5\xB8\xC2\x81\r\n"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(CsvLine(c.fields), c.line) << c.name;
        // What was written reads back as it was.
        const std::vector<CsvRow> rows = ParseCsv(CsvTextToCp1252(c.line));
        ASSERT_EQ(rows.size(), 1u) << c.name;
        Fields back;
        for (const std::string &field : rows[0].fields)
            back.push_back(CsvUnguard(field));
        EXPECT_EQ(back, c.fields) << c.name;
    }
    EXPECT_EQ(CsvByteOrderMark(), "\xEF\xBB\xBF");
}

TEST(Cp1252FromUtf8, ReplacesWhatWindows1252CannotHoldAndBrokenBytes) {
    struct Case {
        const char *name, *utf8, *cp1252;
    } cases[] = {
        {"accent", "Caf\xC3\xA9", "Caf\xE9"},
        {"euro and smart quotes", "\xE2\x82\xAC\xE2\x80\x9Cx\xE2\x80\x9D", "\x80\x93x\x94"},
        {"outside the code page", "\xE6\x97\xA5!", "?!"},
        {"four bytes", "\xF0\x9F\x8D\x95", "?"},
        {"cut sequence", "\xC3(", "?("},
        {"overlong slash", "\xC0\xAF", "??"},
        {"surrogate", "\xED\xA0\x80", "???"},
        {"U+0080 is no euro", "\xC2\x80", "?"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Cp1252FromUtf8(c.utf8), c.cp1252) << c.name;

    std::string every;
    for (int b = 1; b < 256; b++)
        every += static_cast<char>(b);
    EXPECT_TRUE(IsValidUtf8(Utf8FromCp1252(every)));
    EXPECT_EQ(Cp1252FromUtf8(Utf8FromCp1252(every)), every);
}

TEST(CsvTextToCp1252, TakesUtf8WithOrWithoutTheMarkElseWindows1252) {
    struct Case {
        const char *name;
        std::string bytes, text;
    } cases[] = {
        {"mark",
         "\xEF\xBB\xBF"
         "Caf\xC3\xA9",
         "Caf\xE9"},
        {"no mark", "Caf\xC3\xA9", "Caf\xE9"},
        {"Windows-1252", "Caf\xE9 \x80", "Caf\xE9 \x80"},
        {"mark then broken bytes",
         "\xEF\xBB\xBF"
         "Caf\xE9",
         "Caf?"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(CsvTextToCp1252(c.bytes), c.text) << c.name;
}

struct Row {
    int line;
    Fields fields;
    bool unterminated;
};

std::vector<Row> Rows(const std::string &text) {
    std::vector<Row> rows;
    for (const CsvRow &row : ParseCsv(text))
        rows.push_back({row.line, row.fields, row.unterminated});
    return rows;
}

bool operator==(const Row &a, const Row &b) {
    return a.line == b.line && a.fields == b.fields && a.unterminated == b.unterminated;
}

TEST(ParseCsv, ReadsRowsWithTheLinesTheyStartOn) {
    struct Case {
        const char *name;
        std::string text;
        std::vector<Row> rows;
    } cases[] = {
        {"CR LF", "a,b\r\nc,d\r\n", {{1, {"a", "b"}, false}, {2, {"c", "d"}, false}}},
        {"LF, no last line end", "a\nb", {{1, {"a"}, false}, {2, {"b"}, false}}},
        {"lone CR", "a\rb\r", {{1, {"a"}, false}, {2, {"b"}, false}}},
        {"blank lines", "\r\n\r\na\r\n\nb", {{3, {"a"}, false}, {5, {"b"}, false}}},
        {"empty fields", "a,,\r\n,", {{1, {"a", "", ""}, false}, {2, {"", ""}, false}}},
        {"quoted",
         "\"x, y\",\"say \"\"hi\"\"\"\r\n\"two\r\nlines\",z\r\nlast\n",
         {{1, {"x, y", "say \"hi\""}, false},
          {2, {"two\r\nlines", "z"}, false},
          {4, {"last"}, false}}},
        {"text after a closing quote", "\"ab\"c,d", {{1, {"abc", "d"}, false}}},
        {"quote inside an unquoted field", "ab\"c,d", {{1, {"ab\"c", "d"}, false}}},
        {"quote never closed", "a,\"open\r\nb,c\r\n", {{1, {}, true}, {2, {"b", "c"}, false}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Rows(c.text), c.rows) << c.name;
}

} // namespace
