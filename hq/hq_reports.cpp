// The flow of the head-office reports, shared by both: nothing is composed until every figure
// has come, so a failed query never leaves half a document.
#include "hq_reports.h"

#include "call_stats.h"
#include "hq_figures.h"
#include "hq_queries.h"
#include "report_text.h"
#include "site_comparison.h"

const char kAllSitesLabel[] = "All sites";

namespace {

const char kCaption[] = "RingHQ";
const size_t kTitleLimit = 40;

bool QueryAll(HqDatabase &db, ReportPrompts &prompts, const std::vector<std::string> &sql,
              std::vector<QueryRows> &answers) {
    answers.assign(sql.size(), {});
    for (size_t i = 0; i < sql.size(); ++i) {
        if (!db.Query(sql[i], answers[i])) {
            prompts.Message("The head-office database could not be read: " + db.Error(), kCaption,
                            MessageIcon::Error);
            return false;
        }
    }
    return true;
}

void BadAnswer(ReportPrompts &prompts) {
    prompts.Message("The head-office database gave an answer RingHQ cannot read: is its schema "
                    "the one Ringsync /init makes?",
                    kCaption, MessageIcon::Error);
}

// Starts the document, lets `compose` fill it and finishes it; false when the engine failed.
void Compose(ReportEngine &engine, ReportPrompts &prompts, const std::string &title,
             const std::function<void(int32_t doc)> &compose) {
    const int32_t doc = engine.pvStartDoc(0, CutText(title, kTitleLimit), "", 0, 1, 0, 7, 4169);
    if (doc < 1) {
        prompts.Message("Error:" + NumberToText(doc), "Print Engine", MessageIcon::Error);
        return;
    }
    compose(doc);
    if (engine.pvEndDoc(doc, END_FINISHED) < 1)
        prompts.Message("Error Writing PDF File!", "Report", MessageIcon::Error);
}

std::string SiteShown(const HqJob &job) {
    return job.site.empty() ? kAllSitesLabel : job.site;
}

} // namespace

bool ReadSites(HqDatabase &db, std::vector<std::string> &sites) {
    QueryRows rows;
    if (!db.Query(SiteListQuery(), rows))
        return false;
    sites.clear();
    for (const auto &row : rows)
        if (!row.empty())
            sites.push_back(row[0]);
    return true;
}

void RunHqStatistics(const HqJob &job, HqDatabase &db, ReportEngine &engine,
                     ReportPrompts &prompts) {
    CallSelection selection;
    selection.site = job.site;
    if (prompts.AskRange("Select Range for Caller ID Report", selection.range) == 0)
        return;
    std::vector<QueryRows> answers;
    if (!QueryAll(
            db, prompts,
            {StatTotalsQuery(selection), StatCellsQuery(selection), StatTopNumbersQuery(selection)},
            answers))
        return;
    StatFigures figures;
    if (!StatFiguresOf(answers[0], answers[1], answers[2], figures))
        return BadAnswer(prompts);
    const ReportClock now = job.clock();
    const PageFrame frame{job.footerName, now, selection.range.startDate, selection.range.endDate};
    Compose(
        engine, prompts, "Call Stats Report - " + now.date + " - " + SiteShown(job),
        [&](int32_t doc) { PrintStatPage(engine, doc, figures, frame, " - " + SiteShown(job)); });
}

void RunSiteComparison(const HqJob &job, HqDatabase &db, ReportEngine &engine,
                       ReportPrompts &prompts) {
    ReportRange range;
    if (prompts.AskRange("Select Range for Site Comparison", range) == 0)
        return;
    std::vector<QueryRows> answers;
    if (!QueryAll(db, prompts,
                  {SiteListQuery(), ComparisonCountsQuery(range), ComparisonBusiestQuery(range)},
                  answers))
        return;
    std::vector<SiteFigures> rows;
    if (!ComparisonOf(answers[0], answers[1], answers[2], rows))
        return BadAnswer(prompts);
    const ReportClock now = job.clock();
    const PageFrame frame{job.footerName, now, range.startDate, range.endDate};
    Compose(engine, prompts, "Site Comparison - " + now.date,
            [&](int32_t doc) { PrintComparison(engine, doc, rows, frame); });
}
