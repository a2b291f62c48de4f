// The frame of a list report page (title band, column headings, footer), the row positions and
// page breaks, and the rule under each row.
#pragma once
#include "report_engine.h"

#include <cstdint>
#include <string>

// The heading a list page carries; any other value prints the outbound heading.
enum ReportKind : int32_t {
    KIND_OUTBOUND = 0,
    KIND_INBOUND = 1,
    KIND_BY_NUMBER = 2,
    KIND_CALLBACK = 3,
    KIND_SITE_COMPARISON = 4
};

// The moment the report runs, as it prints: "mm-dd-yyyy" and "HH:MM:SS".
struct ReportClock {
    std::string date;
    std::string time;
};

// What every page of one report shows besides its rows.
struct PageFrame {
    std::string storeName;
    ReportClock now;
    int32_t startDate = 0;
    int32_t endDate = 0;
};

// Rows of a list page: row 0 at y 1.3, each 0.2 lower, the last at 9.9.
const int32_t kRowsPerPage = 44;
float RowY(int32_t row);

// "05 Jan 2004 to 07 Jan 2004".
std::string RangeHeading(const PageFrame &frame);
// "Printed on mm-dd-yyyy at HH:MM:SS".
std::string PrintedOn(const ReportClock &now);

void PrintRptHead(ReportEngine &engine, int32_t doc, int32_t kind, const PageFrame &frame);
// The row the next record prints on, given the rows the page holds already: a full page is
// broken only when another row comes, so no list ends on a page with nothing but its heading.
// Rows are counted in integers: adding 0.2 inches up to the page's end counts one row fewer
// under x87 precision than elsewhere.
int32_t NextRptLine(ReportEngine &engine, int32_t doc, int32_t row, int32_t kind,
                    const PageFrame &frame);
// The grey rule that ends every row.
void PrintRowRule(ReportEngine &engine, int32_t doc, float y);
