// Zoom, paging and caption rules of the preview window.
#include "preview_layout.h"

#include <algorithm>
#include <cstring>

#include "document.h"

PixelSize PageSizeInView(Zoom zoom, int viewWidth, int viewHeight, int dpi) {
    double room = std::max(viewWidth - 2 * kViewMargin, 1);
    double pixelsPerInch = dpi;
    if (zoom == Zoom::FitWidth) {
        pixelsPerInch = room / kPageWidthInches;
    } else if (zoom == Zoom::FitPage) {
        double tall = std::max(viewHeight - 2 * kViewMargin, 1);
        pixelsPerInch = std::min(room / kPageWidthInches, tall / kPageHeightInches);
    }
    return {std::max(1, static_cast<int>(kPageWidthInches * pixelsPerInch)),
            std::max(1, static_cast<int>(kPageHeightInches * pixelsPerInch))};
}

int ScrollRange(int pageExtent, int viewExtent) {
    return std::max(0, pageExtent + 2 * kViewMargin - viewExtent);
}

int StepPage(PageStep step, int current, int pageCount) {
    int last = std::max(pageCount - 1, 0);
    switch (step) {
    case PageStep::First:
        return 0;
    case PageStep::Previous:
        return std::max(current - 1, 0);
    case PageStep::Next:
        return std::min(current + 1, last);
    default:
        return last;
    }
}

std::string PageLabel(int index, int pageCount) {
    return "Page " + std::to_string(index + 1) + " of " + std::to_string(pageCount);
}

std::string PreviewCaption(const std::string &title, bool stopped) {
    return stopped ? title + " (stopped)" : title;
}

std::string PdfFileName(const std::string &title) {
    std::string name = title.empty() ? "Report" : title;
    for (char &c : name)
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("\\/:*?\"<>|", c))
            c = '-';
    return name + ".pdf";
}
