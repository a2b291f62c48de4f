// The engine's document: pages of texts, lines and rectangles in inches on a letter page, kept
// as the caller drew them so the preview, the printer and PDF files all replay the same thing.
#pragma once
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

constexpr double kPageWidthInches = 8.5;
constexpr double kPageHeightInches = 11.0;

enum class Align { Left = 0, Centre = 1, Right = 2 };

struct TextFont {
    std::string face = "Times New Roman";
    int32_t points = 10;
    bool bold = false;
    uint32_t colour = 0; // 0x00BBGGRR
};

struct TextItem {
    double x = 0, y = 0;
    Align align = Align::Left;
    TextFont font;
    std::string text;
    bool special = false; // holds ##pageno## / ##pagecount##
};

struct LineItem {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 1; // points
    uint32_t colour = 0;
};

enum class RectFill { Framed = 0, Solid = 1, Outline = 2 };

struct RectItem {
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
    double width = 1;
    uint32_t colour = 0;
    RectFill fill = RectFill::Framed;
};

using PageItem = std::variant<TextItem, LineItem, RectItem>;

struct Page {
    int32_t source = 7; // printer paper bin
    std::vector<PageItem> items;
};

struct Document {
    std::string title;
    int32_t numberBase = 0;
    bool stopped = false;
    std::vector<Page> pages;

    // The text as it shows on page `pageIndex` (0-based): page number and count filled in.
    std::string ShownText(const TextItem &item, size_t pageIndex) const;
};

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
