// Feeds arbitrary text to the PDF writer's string escaping: the literal must hold only printable
// ASCII, never close early, and a PDF reader's unescaping must give back the text exactly.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "pdf_writer.h"

namespace {

void Require(bool holds) {
    if (!holds)
        std::abort();
}

// What a PDF reader makes of the literal's inside, for the escapes the writer uses; any other
// escape, or an unescaped parenthesis, fails.
std::string Unescape(const std::string &inside) {
    std::string text;
    for (size_t i = 0; i < inside.size(); ++i) {
        const char c = inside[i];
        Require(c != '(' && c != ')');
        if (c != '\\') {
            text += c;
            continue;
        }
        Require(i + 1 < inside.size());
        const char next = inside[++i];
        if (next == '(' || next == ')' || next == '\\') {
            text += next;
            continue;
        }
        Require(i + 2 < inside.size());
        int value = 0;
        for (int k = 0; k < 3; ++k, ++i) {
            Require(inside[i] >= '0' && inside[i] <= '7');
            value = value * 8 + (inside[i] - '0');
        }
        --i;
        Require(value < 256);
        text += static_cast<char>(value);
    }
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const std::string literal = PdfString(text);
    Require(literal.size() >= 2 && literal.size() <= 2 + 4 * size);
    Require(literal.front() == '(' && literal.back() == ')');
    for (unsigned char c : literal)
        Require(c >= 0x20 && c < 0x7F);
    Require(Unescape(literal.substr(1, literal.size() - 2)) == text);
    return 0;
}
