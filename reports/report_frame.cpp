// List page frame and row advance.
#include "report_frame.h"

#include "report_text.h"

namespace {

struct Heading {
    const char *text;
    float x;
};

const Heading kInboundHeadings[] = {{"Date", 0.5f},  {"Time", 1.5f}, {"Number", 2.2f},
                                    {"Name", 3.7f},  {"Secs", 6.0f}, {"Line", 6.5f},
                                    {"Rings", 7.0f}, {"Error", 8.0f}};
const Heading kByNumberHeadings[] = {{"Date", 0.5f},  {"Time", 1.5f},  {"Number", 2.2f},
                                     {"Name", 3.7f},  {"Secs", 6.0f},  {"Line", 6.5f},
                                     {"Rings", 7.0f}, {"In/Out", 8.0f}};
const Heading kOutboundHeadings[] = {{"Date", 0.5f},   {"Time", 1.5f},
                                     {"Number", 2.2f}, {"Extra Digits Dialed", 3.7f},
                                     {"Secs", 7.0f},   {"Line", 8.0f}};
const Heading kCallbackHeadings[] = {{"Date", 0.5f},    {"Time", 1.5f}, {"Number", 2.2f},
                                     {"Name", 3.7f},    {"Line", 6.0f}, {"Rings", 6.6f},
                                     {"Attempts", 8.0f}};

// The head office's list, one row per site.
const Heading kSiteComparisonHeadings[] = {
    {"Site", 0.5f},    {"Inbound", 2.15f},     {"Outbound", 2.8f},      {"Minutes", 3.55f},
    {"Errors", 4.25f}, {"Busiest Day", 4.85f}, {"Busiest Hour", 5.85f}, {"Short Calls %", 8.0f}};

const char *TitlePrefix(int32_t kind) {
    switch (kind) {
    case KIND_INBOUND:
        return "Inbound Call Log From ";
    case KIND_BY_NUMBER:
        return "Calls By Number ";
    case KIND_CALLBACK:
        return "Callback List From ";
    case KIND_SITE_COMPARISON:
        return "Site Comparison From ";
    default:
        return "Outbound Call Log From ";
    }
}

template <size_t N>
void PrintHeadings(ReportEngine &engine, int32_t doc, const Heading (&headings)[N]) {
    for (size_t i = 0; i < N; ++i)
        engine.pvText(doc, headings[i].x, 0.9f, i + 1 == N ? ALIGN_RIGHT : ALIGN_LEFT,
                      headings[i].text);
}

} // namespace

float RowY(int32_t row) {
    return static_cast<float>(1.3 + 0.2 * row);
}

std::string RangeHeading(const PageFrame &frame) {
    return HeadingDate(frame.startDate) + " to " + HeadingDate(frame.endDate);
}

std::string PrintedOn(const ReportClock &now) {
    return "Printed on " + now.date + " at " + now.time;
}

void PrintRptHead(ReportEngine &engine, int32_t doc, int32_t kind, const PageFrame &frame) {
    engine.pvRect(doc, 0.5f, 0.5f, 8.0f, 0.8f, 1.0f, COLOUR_WHITE, 0);
    engine.pvFont(doc, 0, 12, COLOUR_BLACK, "Times New Roman");
    engine.pvText(doc, 4.25f, 0.56f, ALIGN_CENTRE, TitlePrefix(kind) + RangeHeading(frame));
    engine.pvFont(doc, 0, 10, COLOUR_BLUE, "Courier New");
    if (kind == KIND_INBOUND)
        PrintHeadings(engine, doc, kInboundHeadings);
    else if (kind == KIND_BY_NUMBER)
        PrintHeadings(engine, doc, kByNumberHeadings);
    else if (kind == KIND_CALLBACK)
        PrintHeadings(engine, doc, kCallbackHeadings);
    else if (kind == KIND_SITE_COMPARISON)
        PrintHeadings(engine, doc, kSiteComparisonHeadings);
    else
        PrintHeadings(engine, doc, kOutboundHeadings);
    engine.pvLine(doc, 0.5f, 1.1f, 8.0f, 1.1f, 1.0f, COLOUR_BLACK);
    engine.pvFont(doc, 0, 8, COLOUR_BLACK, "Times New Roman");
    engine.pvSpecialText(doc, 0.5f, 10.2f, ALIGN_LEFT,
                         frame.storeName + "  Page ##pageno## of ##pagecount##");
    engine.pvText(doc, 8.0f, 10.2f, ALIGN_RIGHT, PrintedOn(frame.now));
}

int32_t NextRptLine(ReportEngine &engine, int32_t doc, int32_t row, int32_t kind,
                    const PageFrame &frame) {
    if (row < kRowsPerPage)
        return row;
    engine.pvNewPage(doc, 1, 0, 7);
    PrintRptHead(engine, doc, kind, frame);
    return 0;
}

void PrintRowRule(ReportEngine &engine, int32_t doc, float y) {
    engine.pvLine(doc, 0.5f, y + 0.16f, 8.0f, y + 0.16f, 1.0f, COLOUR_GREY);
}
