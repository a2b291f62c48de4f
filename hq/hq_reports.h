// The head office's two reports: the range asked, the figures counted by the database in one
// read-only snapshot, the page composed through the print engine.
#pragma once
#include "report_engine.h"
#include "report_frame.h"
#include "report_prompts.h"

#include <functional>
#include <string>
#include <vector>

// The database as the reports need it: a query answered row by row, each column as text.
class HqDatabase {
  public:
    virtual ~HqDatabase() = default;
    // False on failure, with Error() saying why.
    virtual bool Query(const std::string &sql, std::vector<std::vector<std::string>> &rows) = 0;
    virtual std::string Error() const = 0;
};

struct HqJob {
    std::string site; // "" for all sites
    std::string footerName;
    std::function<ReportClock()> clock;
};

// What the window's list shows first, for the whole chain.
extern const char kAllSitesLabel[];

// The sites the database knows, by name; false when it could not be read.
bool ReadSites(HqDatabase &db, std::vector<std::string> &sites);

// Each runs to its end; every failure has been shown to the person when it returns.
void RunHqStatistics(const HqJob &job, HqDatabase &db, ReportEngine &engine,
                     ReportPrompts &prompts);
void RunSiteComparison(const HqJob &job, HqDatabase &db, ReportEngine &engine,
                       ReportPrompts &prompts);
