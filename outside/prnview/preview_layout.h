// What the preview shows, as plain numbers and texts: the page's size for each zoom, the zoom
// steps, where paging and the mouse wheel lead, the pages a print covers, the captions, and a
// file name offered for saving.
#pragma once
#include <string>

enum class ZoomMode { FitPage, FitWidth, Percent };

struct Zoom {
    ZoomMode mode = ZoomMode::FitPage;
    int percent = 100; // of actual size; only with ZoomMode::Percent
};

// The fixed zoom steps, in percent of actual size.
constexpr int kZoomSteps[] = {50, 75, 100, 150, 200, 400};

enum class PageStep { First, Previous, Next, Last };

// Grey border around the page inside the view, in pixels.
constexpr int kViewMargin = 12;

// How far one notch of the mouse wheel (a delta of 120) scrolls, in pixels.
constexpr int kWheelNotchPixels = 60;

struct PixelSize {
    int width, height;
};

// The page's size in pixels in a view of `viewWidth` x `viewHeight` pixels on a screen of
// `dpi` pixels per inch; never below 1 pixel, however small the view.
PixelSize PageSizeInView(Zoom zoom, int viewWidth, int viewHeight, int dpi);
// The zoom as a whole percentage of actual size; for the fit modes, what they come to in this
// view.
int ZoomPercent(Zoom zoom, int viewWidth, int viewHeight, int dpi);
// The step above (`direction` > 0) or else below the percentage shown now, so a fit mode
// zooms on from where it is; past the last step in either direction it stays there.
Zoom ZoomStep(int shownPercent, int direction);
std::string ZoomLabel(int percent);
// The scroll position after the page grew or shrank from `oldExtent` to `newExtent` pixels on
// one axis, keeping the point at the view's centre where it was.
int ScrollKeepingCentre(int scroll, int viewExtent, int oldExtent, int newExtent);
// The scroll range of one axis: how far the page and its margins overhang the view.
int ScrollRange(int pageExtent, int viewExtent);
// 0-based page index after a step, staying within 0..pageCount-1.
int StepPage(PageStep step, int current, int pageCount);

// The page shown and how far down it is scrolled.
struct ViewPlace {
    int page, scroll;
};
// Where a turn of the mouse wheel leads (`wheelDelta` as Windows gives it, positive away from
// the user): down or up within the page, and from its very end on to the top of the next page,
// or from its very top back to the bottom of the previous one. `range` is the vertical scroll
// range, the same for every page of the document.
ViewPlace WheelPlace(ViewPlace at, int wheelDelta, int range, int pageCount);

// 0-based indices of the first and last page to print; empty when last < first.
struct PageSpan {
    int first, last;
};
// Every page, or pages `from` to `to` as the user numbered them (from 1) when `chosen`, kept
// within the document.
PageSpan PagesToPrint(bool chosen, int from, int to, int pageCount);

std::string PageLabel(int index, int pageCount);
std::string PrintingLabel(int index, int pageCount);
std::string PreviewCaption(const std::string &title, bool stopped);
// The title as a file name: characters Windows refuses in names become '-'.
std::string PdfFileName(const std::string &title);
