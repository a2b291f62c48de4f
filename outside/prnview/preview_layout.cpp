// Zoom, paging, wheel and caption rules of the preview window, and the pages a print covers.
#include "preview_layout.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <iterator>

#include "document.h"

namespace {

double PixelsPerInch(Zoom zoom, int viewWidth, int viewHeight, int dpi) {
    double room = std::max(viewWidth - 2 * kViewMargin, 1);
    switch (zoom.mode) {
    case ZoomMode::FitWidth:
        return room / kPageWidthInches;
    case ZoomMode::FitPage: {
        double tall = std::max(viewHeight - 2 * kViewMargin, 1);
        return std::min(room / kPageWidthInches, tall / kPageHeightInches);
    }
    default:
        return dpi * zoom.percent / 100.0;
    }
}

} // namespace

PixelSize PageSizeInView(Zoom zoom, int viewWidth, int viewHeight, int dpi) {
    double pixelsPerInch = PixelsPerInch(zoom, viewWidth, viewHeight, dpi);
    return {std::max(1, static_cast<int>(kPageWidthInches * pixelsPerInch)),
            std::max(1, static_cast<int>(kPageHeightInches * pixelsPerInch))};
}

int ZoomPercent(Zoom zoom, int viewWidth, int viewHeight, int dpi) {
    if (zoom.mode == ZoomMode::Percent)
        return zoom.percent;
    return static_cast<int>(
        std::lround(PixelsPerInch(zoom, viewWidth, viewHeight, dpi) * 100 / std::max(dpi, 1)));
}

Zoom ZoomStep(int shownPercent, int direction) {
    int chosen = direction > 0 ? kZoomSteps[std::size(kZoomSteps) - 1] : kZoomSteps[0];
    for (int step : kZoomSteps) {
        if (direction > 0 && step > shownPercent)
            return {ZoomMode::Percent, step};
        if (direction <= 0 && step < shownPercent)
            chosen = step;
    }
    return {ZoomMode::Percent, chosen};
}

std::string ZoomLabel(int percent) {
    return std::to_string(percent) + " %";
}

int ScrollKeepingCentre(int scroll, int viewExtent, int oldExtent, int newExtent) {
    long long centre = scroll + viewExtent / 2 - kViewMargin;
    return static_cast<int>(centre * newExtent / std::max(oldExtent, 1)) + kViewMargin -
           viewExtent / 2;
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

ViewPlace WheelPlace(ViewPlace at, int wheelDelta, int range, int pageCount) {
    int move = -wheelDelta * kWheelNotchPixels / 120;
    if (move > 0 && at.scroll >= range && at.page < pageCount - 1)
        return {at.page + 1, 0};
    if (move < 0 && at.scroll <= 0 && at.page > 0)
        return {at.page - 1, range};
    return {at.page, std::clamp(at.scroll + move, 0, range)};
}

PageSpan PagesToPrint(bool chosen, int from, int to, int pageCount) {
    if (!chosen)
        return {0, pageCount - 1};
    return {std::max(from, 1) - 1, std::min(to, pageCount) - 1};
}

std::string PageLabel(int index, int pageCount) {
    return "Page " + std::to_string(index + 1) + " of " + std::to_string(pageCount);
}

std::string PrintingLabel(int index, int pageCount) {
    return "Printing page " + std::to_string(index + 1) + " of " + std::to_string(pageCount);
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
