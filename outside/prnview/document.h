// The engine's document: pages of texts, lines and rectangles in inches on a letter page, kept
// as the caller drew them so the preview, the printer and PDF files all replay the same thing.
// A report of half a million rows must fit a 32-bit process, so an item is a few fixed-size
// numbers: its font is an index into the document's font table and its characters sit in its
// page's one text buffer.
#pragma once
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

constexpr double kPageWidthInches = 8.5;
constexpr double kPageHeightInches = 11.0;

enum class Align : uint8_t { Left = 0, Centre = 1, Right = 2 };

struct TextFont {
    std::string face = "Times New Roman";
    int32_t points = 10;
    bool bold = false;
    uint32_t colour = 0; // 0x00BBGGRR

    bool operator==(const TextFont &other) const {
        return points == other.points && bold == other.bold && colour == other.colour &&
               face == other.face;
    }
    bool operator!=(const TextFont &other) const { return !(*this == other); }
};

// Coordinates are kept as the single-precision values the caller passes.
struct TextItem {
    float x = 0, y = 0;
    uint32_t textAt = 0; // where its characters start in the page's text; they end where the
                         // next text's start, or with the page's text
    uint16_t font = 0;   // index in the document's font table
    Align align = Align::Left;
    bool special = false; // holds ##pageno## / ##pagecount##
};
static_assert(sizeof(TextItem) == 16, "an item of every list row's every column");

enum class ShapeKind : uint8_t {
    Line,
    Framed,  // outline in black, inside painted in the colour
    Solid,   // painted in the colour, no outline
    Outline, // outline in the colour
};

// A line or rectangle as it is drawn.
struct ShapeItem {
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    float width = 1; // points
    uint32_t colour = 0;
    ShapeKind kind = ShapeKind::Line;
};

// What shapes have besides their corners; a report draws every row's rule with the same one.
struct ShapePen {
    float width;
    uint32_t colour;
    ShapeKind kind;

    bool operator==(const ShapePen &other) const {
        return width == other.width && colour == other.colour && kind == other.kind;
    }
};

// A shape as the page keeps it.
struct StoredShape {
    float x1, y1, x2, y2;
    uint32_t textsBefore; // texts of the page drawn before it, so the order stays as drawn
    uint16_t pen;         // index in the document's pen table
};
static_assert(sizeof(StoredShape) == 24, "every list row's rule");

struct Page {
    int32_t source = 7; // printer paper bin
    std::string text;   // the characters of every text of the page, one after the other
    std::vector<TextItem> texts;
    std::vector<StoredShape> shapes;

    std::string_view TextOf(size_t index) const;
};

struct Document {
    std::string title;
    int32_t numberBase = 0;
    bool stopped = false;
    std::vector<TextFont> fonts;
    std::vector<ShapePen> pens;
    std::deque<Page> pages; // grows without moving what it holds

    // The index of `font` in the table, added when it is new. Throws std::bad_alloc when the
    // table cannot hold another one.
    uint16_t FontIndex(const TextFont &font);
    // Starts the next page, and gives the one before back the room it did not fill.
    void AddPage(int32_t source);
    // On the last page: `text` as PrintableText makes it, in font `font`.
    void AddText(float x, float y, Align align, uint16_t font, const char *text, bool special);
    // Throws std::bad_alloc when the pen table cannot hold the shape's pen.
    void AddShape(const ShapeItem &shape);
    ShapeItem ShapeOf(const StoredShape &shape) const;

    // The text as it shows on page `pageIndex` (0-based): page number and count filled in.
    std::string ShownText(size_t pageIndex, size_t textIndex) const;
};

// Calls onText(index) and onShape(shape) for `page`'s items in the order they were drawn, its
// shapes' pens looked up in `pens`.
template <class OnText, class OnShape>
void ForEachItemOf(const Page &page, const std::vector<ShapePen> &pens, OnText onText,
                   OnShape onShape) {
    size_t text = 0;
    for (const StoredShape &shape : page.shapes) {
        for (; text < shape.textsBefore; ++text)
            onText(text);
        const ShapePen &pen = pens[shape.pen];
        onShape(ShapeItem{shape.x1, shape.y1, shape.x2, shape.y2, pen.width, pen.colour, pen.kind});
    }
    for (; text < page.texts.size(); ++text)
        onText(text);
}

// The same for page `pageIndex` (0-based) of `doc`.
template <class OnText, class OnShape>
void ForEachItem(const Document &doc, size_t pageIndex, OnText onText, OnShape onShape) {
    ForEachItemOf(doc.pages[pageIndex], doc.pens, onText, onShape);
}

inline uint8_t RedOf(uint32_t colour) {
    return colour & 0xFF;
}
inline uint8_t GreenOf(uint32_t colour) {
    return (colour >> 8) & 0xFF;
}
inline uint8_t BlueOf(uint32_t colour) {
    return (colour >> 16) & 0xFF;
}

// Codes with no Windows-1252 character (controls, 0x7F, 0x81, 0x8D, 0x8F, 0x90, 0x9D) become
// blanks, so no renderer meets a character it cannot show.
std::string PrintableText(const char *text);

// Where a text of `width` inches starts when aligned at x.
double AlignedLeft(double x, double width, Align align);
