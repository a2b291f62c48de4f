// Composing the site comparison's rows under the common list frame.
#include "site_comparison.h"

#include "report_text.h"

namespace {

// Courier New 10 leaves room for this much of a site's name before the Inbound column.
const size_t kSiteWidth = 19;

struct Column {
    float x;
    int32_t align;
    std::string (*text)(const SiteFigures &s);
};

const Column kColumns[] = {
    {0.5f, ALIGN_LEFT, [](const SiteFigures &s) { return CutText(s.site, kSiteWidth); }},
    {2.15f, ALIGN_LEFT, [](const SiteFigures &s) { return GroupThousands(s.inbound); }},
    {2.8f, ALIGN_LEFT, [](const SiteFigures &s) { return GroupThousands(s.outbound); }},
    {3.55f, ALIGN_LEFT, [](const SiteFigures &s) { return GroupThousands(s.minutes); }},
    {4.25f, ALIGN_LEFT, [](const SiteFigures &s) { return GroupThousands(s.errors); }},
    {4.85f, ALIGN_LEFT,
     [](const SiteFigures &s) { return s.busiestDay.empty() ? std::string("N/A") : s.busiestDay; }},
    {5.85f, ALIGN_LEFT, [](const SiteFigures &s) { return HourLabel(s.busiestHour); }},
    {8.0f, ALIGN_RIGHT,
     [](const SiteFigures &s) { return ShortCallsPercent(s.inboundTimed, s.inboundShort); }},
};

void PrintSiteRow(ReportEngine &engine, int32_t doc, float y, const SiteFigures &s) {
    engine.pvFont(doc, 0, 10, COLOUR_BLACK, "Courier New");
    for (const Column &column : kColumns)
        engine.pvText(doc, column.x, y, column.align, column.text(s));
    PrintRowRule(engine, doc, y);
}

} // namespace

std::string ShortCallsPercent(int64_t timed, int64_t shortCalls) {
    if (timed <= 0)
        return "N/A";
    // In tenths of a percent, counted in integers so every build rounds alike.
    const int64_t tenths = (shortCalls * 1000 + timed / 2) / timed;
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10) + "%";
}

std::string HourLabel(int32_t hour) {
    if (hour < 0 || hour > 23)
        return "N/A";
    const int32_t shown = hour % 12 == 0 ? 12 : hour % 12;
    return std::to_string(shown) + (hour < 12 ? "a" : "p");
}

void PrintComparison(ReportEngine &engine, int32_t doc, const std::vector<SiteFigures> &rows,
                     const PageFrame &frame) {
    PrintRptHead(engine, doc, KIND_SITE_COMPARISON, frame);
    int32_t row = 0;
    for (const SiteFigures &s : rows) {
        row = NextRptLine(engine, doc, row, KIND_SITE_COMPARISON, frame);
        PrintSiteRow(engine, doc, RowY(row), s);
        ++row;
    }
}
