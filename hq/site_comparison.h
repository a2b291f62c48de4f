// The site comparison: a list page in the reports' common frame, one row per site and the
// chain's totals last.
#pragma once
#include "hq_figures.h"
#include "report_engine.h"
#include "report_frame.h"

#include <string>
#include <vector>

// "12.5%": short inbound calls as a share of the inbound calls with a known duration, to a
// tenth, halves up; "N/A" when there was no such call.
std::string ShortCallsPercent(int64_t timed, int64_t shortCalls);
// The hour as the statistics tables label it: "12a", "9a", "12p", "6p"; "N/A" for none.
std::string HourLabel(int32_t hour);

void PrintComparison(ReportEngine &engine, int32_t doc, const std::vector<SiteFigures> &rows,
                     const PageFrame &frame);
