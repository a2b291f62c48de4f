// What the preview shows, as plain numbers and texts: the page's size for each zoom, the page
// a navigation step leads to, the captions, and a file name offered for saving.
#pragma once
#include <string>

enum class Zoom { FitPage, FitWidth, Actual };
enum class PageStep { First, Previous, Next, Last };

// Grey border around the page inside the view, in pixels.
constexpr int kViewMargin = 12;

struct PixelSize {
    int width, height;
};

// The page's size in pixels in a view of `viewWidth` x `viewHeight` pixels on a screen of
// `dpi` pixels per inch; never below 1 pixel, however small the view.
PixelSize PageSizeInView(Zoom zoom, int viewWidth, int viewHeight, int dpi);
// The scroll range of one axis: how far the page and its margins overhang the view.
int ScrollRange(int pageExtent, int viewExtent);
// 0-based page index after a step, staying within 0..pageCount-1.
int StepPage(PageStep step, int current, int pageCount);
std::string PageLabel(int index, int pageCount);
std::string PreviewCaption(const std::string &title, bool stopped);
// The title as a file name: characters Windows refuses in names become '-'.
std::string PdfFileName(const std::string &title);
