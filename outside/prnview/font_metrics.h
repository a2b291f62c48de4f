// The six standard PDF fonts that stand for the faces the reports use, with their glyph widths,
// so right and centred texts in PDF files line up as they do on screen.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

enum StandardFont {
    kTimesRoman,
    kTimesBold,
    kCourier,
    kCourierBold,
    kHelvetica,
    kHelveticaBold,
    kStandardFontCount
};

// Advance widths in 1/1000 em by Windows-1252 code; 0 where the code has no character.
extern const uint16_t kGlyphWidths[kStandardFontCount][256];

// "Times New Roman" -> Times, "Courier New" -> Courier (any case), anything else Helvetica.
StandardFont StandardFontFor(const std::string &face, bool bold);
const char *PdfFontName(StandardFont font);
// Height from the top of a text line to its baseline, in em, as Windows places the line of the
// face the standard font stands for; both renderers then put a text's top at its y.
double AscentEm(StandardFont font);
// Width of a Windows-1252 text in points at `points` size.
double TextWidthPoints(StandardFont font, double points, std::string_view text);
