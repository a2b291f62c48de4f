// Page-number filling, the document's storage and the small layout rules both renderers share.
#include "document.h"

#include <cstring>
#include <limits>
#include <new>

namespace {

void ReplaceAll(std::string &text, const std::string &marker, const std::string &value) {
    for (size_t at = text.find(marker); at != std::string::npos;
         at = text.find(marker, at + value.size()))
        text.replace(at, marker.size(), value);
}

constexpr bool HasCharacter(unsigned char c) {
    return c >= 0x20 && c != 0x7F && c != 0x81 && c != 0x8D && c != 0x8F && c != 0x90 && c != 0x9D;
}

// Every character of every text passes here: a table answers in one look.
struct PrintableTable {
    char of[256];
    constexpr PrintableTable() : of() {
        for (int c = 0; c < 256; ++c)
            of[c] = HasCharacter(static_cast<unsigned char>(c)) ? static_cast<char>(c) : ' ';
    }
};
constexpr PrintableTable kPrintable;

char Printable(char c) {
    return kPrintable.of[static_cast<unsigned char>(c)];
}

// A page that is full keeps no spare room: over thousands of pages that would be a third of
// the document again.
void FitToSize(Page &page) {
    page.text.shrink_to_fit();
    page.texts.shrink_to_fit();
    page.shapes.shrink_to_fit();
}

// The index of `wanted` in `table`, added when it is new; the last ones are the likeliest.
template <class Entry> uint16_t IndexIn(std::vector<Entry> &table, const Entry &wanted) {
    for (size_t i = table.size(); i-- > 0;)
        if (table[i] == wanted)
            return static_cast<uint16_t>(i);
    if (table.size() > std::numeric_limits<uint16_t>::max())
        throw std::bad_alloc();
    table.push_back(wanted);
    return static_cast<uint16_t>(table.size() - 1);
}

} // namespace

std::string_view Page::TextOf(size_t index) const {
    const size_t end = index + 1 < texts.size() ? texts[index + 1].textAt : text.size();
    return std::string_view(text).substr(texts[index].textAt, end - texts[index].textAt);
}

void Document::AddPage(int32_t source) {
    Page next{source, {}, {}, {}};
    if (!pages.empty()) {
        // Report pages are alike: the next one most likely needs what this one took, its texts
        // a few characters more or less; growing would leave the room it grew from unused.
        next.text.reserve(pages.back().text.size() + pages.back().text.size() / 8);
        next.texts.reserve(pages.back().texts.size());
        next.shapes.reserve(pages.back().shapes.size());
    }
    pages.push_back(std::move(next));
    if (pages.size() > 1)
        FitToSize(pages[pages.size() - 2]);
}

void Document::AddText(float x, float y, Align align, uint16_t font, const char *text,
                       bool special) {
    Page &page = pages.back();
    const size_t length = std::strlen(text);
    if (length > std::numeric_limits<uint32_t>::max() - page.text.size())
        throw std::bad_alloc();
    const uint32_t at = static_cast<uint32_t>(page.text.size());
    page.text.resize(at + length);
    for (size_t i = 0; i < length; ++i)
        page.text[at + i] = Printable(text[i]);
    try {
        page.texts.push_back(TextItem{x, y, at, font, align, special});
    } catch (const std::bad_alloc &) {
        // No characters stay without their item: they would join the text before.
        page.text.resize(at);
        throw;
    }
}

uint16_t Document::FontIndex(const TextFont &font) {
    return IndexIn(fonts, font);
}

void Document::AddShape(const ShapeItem &shape) {
    Page &page = pages.back();
    const uint16_t pen = IndexIn(pens, ShapePen{shape.width, shape.colour, shape.kind});
    page.shapes.push_back(StoredShape{shape.x1, shape.y1, shape.x2, shape.y2,
                                      static_cast<uint32_t>(page.texts.size()), pen});
}

ShapeItem Document::ShapeOf(const StoredShape &shape) const {
    const ShapePen &pen = pens[shape.pen];
    return ShapeItem{shape.x1, shape.y1, shape.x2, shape.y2, pen.width, pen.colour, pen.kind};
}

std::string Document::ShownText(size_t pageIndex, size_t textIndex) const {
    const Page &page = pages[pageIndex];
    std::string text(page.TextOf(textIndex));
    if (!page.texts[textIndex].special)
        return text;
    ReplaceAll(text, "##pageno##",
               std::to_string(static_cast<long long>(pageIndex) + 1 + numberBase));
    ReplaceAll(text, "##pagecount##",
               std::to_string(static_cast<long long>(pages.size()) + numberBase));
    return text;
}

std::string PrintableText(const char *text) {
    std::string out(text);
    for (char &c : out)
        c = Printable(c);
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
