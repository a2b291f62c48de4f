// Face mapping and text measurement for the PDF renderer.
#include "font_metrics.h"

#include <algorithm>
#include <cctype>

namespace {

bool SameFace(const std::string &a, const char *b) {
    std::string lower(a);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower == b;
}

} // namespace

StandardFont StandardFontFor(const std::string &face, bool bold) {
    if (SameFace(face, "times new roman"))
        return bold ? kTimesBold : kTimesRoman;
    if (SameFace(face, "courier new"))
        return bold ? kCourierBold : kCourier;
    return bold ? kHelveticaBold : kHelvetica;
}

const char *PdfFontName(StandardFont font) {
    static const char *const names[kStandardFontCount] = {
        "Times-Roman", "Times-Bold", "Courier", "Courier-Bold", "Helvetica", "Helvetica-Bold"};
    return names[font];
}

double AscentEm(StandardFont font) {
    // The Windows cell ascents of Times New Roman, Courier New and Arial (units of 2048).
    switch (font) {
    case kTimesRoman:
    case kTimesBold:
        return 1825.0 / 2048;
    case kCourier:
    case kCourierBold:
        return 1705.0 / 2048;
    default:
        return 1854.0 / 2048;
    }
}

double TextWidthPoints(StandardFont font, double points, std::string_view text) {
    long units = 0;
    for (unsigned char c : text)
        units += kGlyphWidths[font][c];
    return units * points / 1000.0;
}
