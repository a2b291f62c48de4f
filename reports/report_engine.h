// What a report asks of the print-and-preview engine: its calls as the engine exports them, so
// the report logic runs over the real engine, or over a recording one in tests.
#pragma once
#include <cstdint>
#include <string>

class ReportEngine {
  public:
    virtual ~ReportEngine() = default;
    // A document handle of 1 or more, below 1 on failure.
    virtual int32_t pvStartDoc(int32_t owner, const std::string &title, const std::string &output,
                               int32_t a, int32_t b, int32_t c, int32_t d, int32_t e) = 0;
    virtual int32_t pvNewPage(int32_t doc, int32_t a, int32_t b, int32_t c) = 0;
    virtual int32_t pvEndDoc(int32_t doc, int32_t mode) = 0;
    virtual int32_t pvSetProgress(int32_t doc, int32_t percent) = 0;
    // Non-zero once the user asked to stop.
    virtual int32_t pvCheckAbort(int32_t doc) = 0;
    virtual int32_t pvFont(int32_t doc, int32_t style, int32_t points, int32_t colour,
                           const std::string &face) = 0;
    virtual int32_t pvText(int32_t doc, float x, float y, int32_t align,
                           const std::string &text) = 0;
    // Fills in "##pageno##" and "##pagecount##".
    virtual int32_t pvSpecialText(int32_t doc, float x, float y, int32_t align,
                                  const std::string &text) = 0;
    virtual int32_t pvLine(int32_t doc, float x1, float y1, float x2, float y2, float width,
                           int32_t colour) = 0;
    virtual int32_t pvRect(int32_t doc, float x1, float y1, float x2, float y2, float width,
                           int32_t colour, int32_t fill) = 0;
};

// Alignment of a text at its x.
enum : int32_t { ALIGN_LEFT = 0, ALIGN_CENTRE = 1, ALIGN_RIGHT = 2 };

// Colours as the engine takes them: 0x00BBGGRR.
enum : int32_t {
    COLOUR_BLACK = 0x000000,
    COLOUR_WHITE = 0xFFFFFF,
    COLOUR_BLUE = 0xFF0000,
    COLOUR_GREY = 0x969696,
    COLOUR_DARK_RED = 0x0000C8
};

// How a finished document ends.
enum : int32_t { END_FINISHED = 4, END_STOPPED = 6 };
