// CSV writing and reading, and the conversions between Windows-1252 and UTF-8 they need.
#include "csv.h"

#include <cstdint>
#include <cstring>

namespace {

// Unicode of the bytes 0x80 to 0x9F. The five bytes Windows-1252 leaves undefined keep the C1
// code of the same value, as Windows converts them, so they come back unchanged.
const uint16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const char kBom[] = "\xEF\xBB\xBF";

bool StartsFormula(char c) {
    return c != '\0' && std::strchr("=+-@\t\r", c) != nullptr;
}

bool NeedsQuotes(const std::string &field) {
    return field.find_first_of(",\"\r\n") != std::string::npos;
}

uint32_t CodePointOfCp1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kCp1252High[byte - 0x80] : byte;
}

char Cp1252OfCodePoint(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (unsigned i = 0; i < 32; i++)
        if (kCp1252High[i] == cp)
            return static_cast<char>(0x80 + i);
    return '?';
}

void AppendUtf8(std::string &out, uint32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// One UTF-8 sequence at `pos`, which moves past it; false for a byte that starts no valid
// sequence (overlong forms and surrogates included), which moves past that byte alone.
bool DecodeUtf8(const std::string &text, size_t &pos, uint32_t &cp) {
    const unsigned char lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        cp = lead;
        return true;
    }
    size_t extra;
    uint32_t least;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, least = 0x80, cp = lead & 0x1F;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, least = 0x800, cp = lead & 0x0F;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, least = 0x10000, cp = lead & 0x07;
    } else {
        return false;
    }
    if (text.size() - pos < extra)
        return false;
    for (size_t i = 0; i < extra; i++) {
        const unsigned char next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return false;
    pos += extra;
    return true;
}

bool StartsWithBom(const std::string &bytes) {
    return bytes.compare(0, 3, kBom) == 0;
}

class CsvParser {
  public:
    explicit CsvParser(const std::string &text) : text_(text) {}

    std::vector<CsvRow> Rows() {
        std::vector<CsvRow> rows;
        while (pos_ < text_.size()) {
            if (AtLineEnd()) {
                SkipLineEnd();
                continue;
            }
            const size_t start = pos_;
            CsvRow row;
            row.line = line_;
            if (!ReadRow(row)) {
                row.fields.clear();
                row.unterminated = true;
                pos_ = start;
                line_ = row.line;
                SkipLine();
            }
            rows.push_back(row);
        }
        return rows;
    }

  private:
    bool AtEnd() const { return pos_ >= text_.size(); }
    bool AtLineEnd() const { return !AtEnd() && (text_[pos_] == '\r' || text_[pos_] == '\n'); }

    void SkipLineEnd() {
        if (text_[pos_++] == '\r' && !AtEnd() && text_[pos_] == '\n')
            ++pos_;
        ++line_;
    }

    void SkipLine() {
        while (!AtEnd() && !AtLineEnd())
            ++pos_;
        if (!AtEnd())
            SkipLineEnd();
    }

    // False when the text ends inside quotes.
    bool ReadRow(CsvRow &row) {
        for (;;) {
            std::string field;
            if (!AtEnd() && text_[pos_] == '"' && !ReadQuoted(field))
                return false;
            // Unquoted text, and whatever a careless writer put after a closing quote.
            while (!AtEnd() && !AtLineEnd() && text_[pos_] != ',')
                field += text_[pos_++];
            row.fields.push_back(field);
            if (AtEnd())
                return true;
            if (text_[pos_] != ',') {
                SkipLineEnd();
                return true;
            }
            ++pos_;
        }
    }

    bool ReadQuoted(std::string &field) {
        ++pos_;
        while (!AtEnd()) {
            const char c = text_[pos_++];
            if (c == '"') {
                if (AtEnd() || text_[pos_] != '"')
                    return true;
                ++pos_;
            } else if (c == '\n' || (c == '\r' && (AtEnd() || text_[pos_] != '\n'))) {
                ++line_;
            }
            field += c;
        }
        return false;
    }

    const std::string &text_;
    size_t pos_ = 0;
    int line_ = 1;
};

} // namespace

std::string CsvByteOrderMark() {
    return kBom;
}

std::string CsvField(const std::string &text) {
    const std::string guarded = !text.empty() && StartsFormula(text[0]) ? "'" + text : text;
    if (!NeedsQuotes(guarded))
        return guarded;
    std::string quoted = "\"";
    for (char c : guarded)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string CsvLine(const std::vector<std::string> &fields) {
    std::string line;
    for (size_t i = 0; i < fields.size(); i++)
        line += (i ? "," : "") + CsvField(fields[i]);
    return Utf8FromCp1252(line) + "\r\n";
}

std::string CsvUnguard(const std::string &field) {
    return field.size() >= 2 && field[0] == '\'' && StartsFormula(field[1]) ? field.substr(1)
                                                                            : field;
}

std::string Utf8FromCp1252(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text)
        AppendUtf8(out, CodePointOfCp1252(static_cast<unsigned char>(c)));
    return out;
}

std::string Cp1252FromUtf8(const std::string &text) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    uint32_t cp = 0;
    while (pos < text.size())
        out += DecodeUtf8(text, pos, cp) ? Cp1252OfCodePoint(cp) : '?';
    return out;
}

bool IsValidUtf8(const std::string &bytes) {
    size_t pos = 0;
    uint32_t cp = 0;
    while (pos < bytes.size())
        if (!DecodeUtf8(bytes, pos, cp))
            return false;
    return true;
}

std::string CsvTextToCp1252(const std::string &fileBytes) {
    if (StartsWithBom(fileBytes))
        return Cp1252FromUtf8(fileBytes.substr(3));
    return IsValidUtf8(fileBytes) ? Cp1252FromUtf8(fileBytes) : fileBytes;
}

std::vector<CsvRow> ParseCsv(const std::string &text) {
    return CsvParser(text).Rows();
}
