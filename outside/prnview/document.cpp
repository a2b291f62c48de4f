// Page-number filling and the small layout rules both renderers share.
#include "document.h"

namespace {

void ReplaceAll(std::string &text, const std::string &marker, const std::string &value) {
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
}

bool HasCharacter(unsigned char c) {
    return c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

} // namespace

std::string Document::ShownText(const TextItem &item, size_t pageIndex) const {
    if (!item.special)
        return item.text;
    std::string text = item.text;
    ReplaceAll(text, "##pageno##",
               std::to_string(static_cast<long long>(pageIndex) + 1 + numberBase));
    ReplaceAll(text, "##pagecount##",
               std::to_string(static_cast<long long>(pages.size()) + numberBase));
    return text;
}

std::string PrintableText(const char *text) {
    std::string out(text);
    for (char &c : out)
        if (!HasCharacter(static_cast<unsigned char>(c)))
            c = ' ';
    return out;
}

double AlignedLeft(double x, double width, Align align) {
    switch (align) {
    case Align::Centre:
        return x - width / 2;
    case Align::Right:
        return x - width;
    default:
        return x;
    }
}
