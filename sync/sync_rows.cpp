// From the log's bytes to the values the head-office database stores.
#include "sync_rows.h"

#include "pantry.h"
#include "record_text.h"

#include <cstring>

namespace {

// Code points of bytes 0x80 to 0x9F in Windows-1252; the rest of the code page is Latin-1.
const uint16_t HIGH_CONTROLS[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void AppendUtf8(std::string &out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

char Cp1252OfCode(uint32_t code) {
    if (code < 0x80 || (code >= 0xA0 && code <= 0xFF))
        return static_cast<char>(code);
    for (int i = 0; i < 32; ++i)
        if (HIGH_CONTROLS[i] == code)
            return static_cast<char>(0x80 + i);
    return '?';
}

// The code point starting at `pos` and its length in bytes; a malformed sequence is one byte
// of U+FFFD, so the conversion always moves on.
uint32_t DecodeUtf8(const std::string &s, size_t pos, size_t &length) {
    const unsigned char lead = static_cast<unsigned char>(s[pos]);
    length = 1;
    if (lead < 0x80)
        return lead;
    size_t more = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    if (more == 0 || pos + more >= s.size())
        return 0xFFFD;
    uint32_t code = lead & (0x3F >> more);
    for (size_t i = 1; i <= more; ++i) {
        const unsigned char next = static_cast<unsigned char>(s[pos + i]);
        if ((next & 0xC0) != 0x80)
            return 0xFFFD;
        code = (code << 6) | (next & 0x3F);
    }
    length = more + 1;
    return code;
}

std::string TrimmedText(const std::string &text) {
    size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos)
        return "";
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

std::string HexOf(const std::string &bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string hex;
    hex.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        hex += digits[b >> 4];
        hex += digits[b & 15];
    }
    return hex;
}

std::string SqlDateOrNull(const std::string &text, const char *type) {
    return text.empty() ? std::string("NULL") : SqlText(text) + "::" + type;
}

} // namespace

std::string Cp1252ToUtf8(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char b : text)
        AppendUtf8(out, b >= 0x80 && b < 0xA0 ? HIGH_CONTROLS[b - 0x80] : b);
    return out;
}

std::string Utf8ToCp1252(const std::string &text) {
    std::string out;
    for (size_t pos = 0, length = 0; pos < text.size(); pos += length)
        out += Cp1252OfCode(DecodeUtf8(text, pos, length));
    return out;
}

std::string SqlDateOfDay(int32_t day) {
    char date[11];
    if (DaysToDate(day, date, sizeof date) != 10)
        return "";
    return std::string(date + 6, 4) + "-" + std::string(date, 2) + "-" + std::string(date + 3, 2);
}

std::string SqlTimeOfSeconds(int32_t seconds) {
    if (seconds < 0 || seconds > 86399)
        return "";
    return ClockText(seconds / 3600, seconds / 60 % 60, seconds % 60);
}

CallRow RowOfRecord(const CallLogRecord &rec, int32_t occurrence) {
    CallRow row;
    row.CallDay = SqlDateOfDay(rec.Day);
    row.CallTime = SqlTimeOfSeconds(rec.Seconds);
    row.Number = Cp1252ToUtf8(TrimmedText(GetTextPadded(rec.Number)));
    row.Name = Cp1252ToUtf8(GetTextNul(rec.Name));
    row.ExtraDigits = Cp1252ToUtf8(GetTextNul(rec.ExtraDigits));
    row.Direction = Cp1252ToUtf8(GetTextNul(&rec.Direction, 1));
    row.DurationS = rec.Duration;
    row.Line = rec.Line;
    row.Rings = rec.Rings;
    row.StartOnly = (rec.Status & LOG_STATUS_AT_START) != 0;
    row.CallerIdError = (rec.Status & LOG_STATUS_CID_ERROR) != 0;
    row.Record.assign(reinterpret_cast<const char *>(&rec), sizeof rec);
    row.Occurrence = occurrence;
    return row;
}

std::string Decimal(long long value) {
    return ZeroPadded(value, 1);
}

std::string SqlText(const std::string &utf8) {
    std::string literal = "'";
    for (char c : utf8) {
        literal += c;
        if (c == '\'')
            literal += '\'';
    }
    return literal + "'";
}

std::string InsertRowsStatement(const std::string &site, const std::vector<CallRow> &rows) {
    std::string sql = "INSERT INTO cid_calls (site, call_day, call_time, number, name, "
                      "extra_digits, duration_s, line, rings, direction, start_only, "
                      "caller_id_error, log_record, occurrence) VALUES ";
    const std::string siteLiteral = SqlText(site);
    for (size_t i = 0; i < rows.size(); ++i) {
        const CallRow &r = rows[i];
        sql += i ? ",(" : "(";
        sql += siteLiteral + "," + SqlDateOrNull(r.CallDay, "date") + "," +
               SqlDateOrNull(r.CallTime, "time") + "," + SqlText(r.Number) + "," + SqlText(r.Name) +
               "," + SqlText(r.ExtraDigits) + "," + Decimal(r.DurationS) + "," + Decimal(r.Line) +
               "," + Decimal(r.Rings) + "," + SqlText(r.Direction) + "," +
               (r.StartOnly ? "true" : "false") + "," + (r.CallerIdError ? "true" : "false") +
               ",decode('" + HexOf(r.Record) + "','hex')," + Decimal(r.Occurrence) + ")";
    }
    return sql + " ON CONFLICT DO NOTHING";
}
