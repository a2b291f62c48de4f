// A pass run against the site's files and the head-office database, its outcome kept in
// DATA\QuorlSync.txt.
#pragma once
#include "sync_settings.h"

#include <functional>
#include <string>

// True when the pass succeeded. `everyDay` compares every day of the log, not only the recent
// ones; `stopRequested` (may be empty) ends the pass between batches.
bool RunRecordedPass(const std::string &programDir, const SyncSettings &settings, bool everyDay,
                     const std::function<bool()> &stopRequested);
// A pass that could not start, recorded with its reason.
void RecordFailedPass(const std::string &programDir, const std::string &error);
